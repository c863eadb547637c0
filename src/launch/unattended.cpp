#include "launch/unattended.h"

#include "launch/program_launcher.h"
#include "platform/window.h"

// The results are not examined: a program that cannot be started has been
// reported by the launcher, and the run goes on with the next one.
void RunAllUnattended() {
    for (const LaunchRequest& launch : UnattendedLaunches()) LaunchProgram(launch.program, launch.arguments);
    platform::PostQuitRequest();
}
