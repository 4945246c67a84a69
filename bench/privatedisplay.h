#pragma once

#include <QString>
#include <functional>

// Runs the benchmarks of the command line on a private X server. setUp runs once the server
// and the application are up and returns an error, if any; tearDown runs after the benchmarks.
// Says SKIPPED and succeeds where the X programs are missing.
int runOnPrivateDisplay(int argc, char **argv, const std::function<QString()> &setUp,
                        const std::function<void()> &tearDown);
