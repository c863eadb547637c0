#pragma once

// The start-up sequence and the message loop. Returns when the loop ends or
// start-up stops early; the reader's load failures pass through.
void RunMenu(bool unattended);
