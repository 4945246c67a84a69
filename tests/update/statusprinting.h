#pragma once

#include "update/updatecheckstatus.h"

#include <ostream>

// Readable statuses in failure messages.
inline void PrintTo(const UpdateCheckStatus &status, std::ostream *out)
{
    if (status.is<UpdateCheckStatus::Idle>())
        *out << "idle";
    else if (status.is<UpdateCheckStatus::Checking>())
        *out << "checking";
    else if (const auto *current = status.as<UpdateCheckStatus::UpToDate>())
        *out << "upToDate(" << current->version.toStdString() << ", " << current->build << ')';
    else if (const auto *available = status.as<UpdateCheckStatus::UpdateAvailable>())
        *out << "updateAvailable(" << available->info.version.toStdString() << ", "
             << available->info.build << ')';
    else if (const auto *failed = status.as<UpdateCheckStatus::Failed>())
        *out << "failed(" << failed->message.toStdString() << ')';
}
