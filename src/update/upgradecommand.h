#pragma once

#include <QString>

// The package manager's command that upgrades the program, set when it is built.
namespace UpgradeCommand
{
QString text();
}
