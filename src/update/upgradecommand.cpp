#include "upgradecommand.h"

namespace UpgradeCommand
{

QString text()
{
    return QStringLiteral(QUILLSTASH_UPGRADE_COMMAND);
}

} // namespace UpgradeCommand
