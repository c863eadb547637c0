#pragma once
// The unattended run: every button's programs started in turn, without the
// menu being used.

#include <vector>

struct LaunchRequest {
    const char16_t* program;
    const char16_t* arguments;
};

// The launches of the unattended run, in order: every allowed preparatory
// program in button order, then every button's main program that has a path
// or arguments. The texts belong to the menu model.
std::vector<LaunchRequest> UnattendedLaunches();

// Starts every launch of UnattendedLaunches in turn, each after the previous
// one became idle, then posts the quit request. Called while the menu window
// is being created.
void RunAllUnattended();
