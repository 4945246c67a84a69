#pragma once

#include "commandline.h"

#include <QList>
#include <QString>

// The manual page in roff, from a page that marks where the option list and the exit statuses
// go with the comment lines `.\" [options]` and `.\" [exit statuses]`.
namespace ManualPage
{

QString render(const QString &page, const QList<CommandLine::OptionDescription> &options,
               const QList<CommandLine::ExitStatusDescription> &statuses);

} // namespace ManualPage
