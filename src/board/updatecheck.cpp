#include "board/clipboardmanagerstate.h"
#include "capture/pasteboard.h"
#include "capture/pasteboardwatcher.h"
#include "capture/workspace.h"
#include "store/vendoraddress.h"
#include "update/programversion.h"
#include "update/updateprotocol.h"
#include "update/upgradecommand.h"

void ClipboardManagerState::setUpdateCheckStatus(const UpdateCheckStatus &status)
{
    publish(m_updateCheckStatus, status, &ClipboardManagerState::updateCheckStatusChanged);
}

void ClipboardManagerState::setCopiedBrewUpgradeCommand(bool copied)
{
    publish(m_copiedBrewUpgradeCommand, copied,
            &ClipboardManagerState::copiedBrewUpgradeCommandChanged);
}

void ClipboardManagerState::performUpdateCheck()
{
    const Operation operation(*this);
    const QString version = ProgramVersion::text();
    const qint64 build = ProgramVersion::build();
    setUpdateCheckStatus(UpdateCheckStatus::Checking{});
    setCopiedBrewUpgradeCommand(false);

    const qint64 unixSeconds = m_clock.now().toDateTime().toSecsSinceEpoch();
    const std::optional<HttpRequest> request =
        UpdateProtocol::request(VendorAddress::webAddress(), unixSeconds, version);
    if (!request) {
        setUpdateCheckStatus(UpdateCheckStatus::Failed{UpdateProtocol::invalidURLMessage()});
        return;
    }

    const quint64 number = m_nextUpdateTransfer++;
    m_updateTransfers[number] =
        m_httpClient.get(*request, [this, number, version, build](const HttpResponse &response) {
            const Operation operation(*this);
            m_updateTransfers.erase(number);
            setUpdateCheckStatus(UpdateProtocol::statusFor(response, version, build));
        });
}

void ClipboardManagerState::copyBrewUpgradeToPasteboard()
{
    const Operation operation(*this);
    m_pasteboard.write({.text = UpgradeCommand::text()});
    m_watcher->acknowledgeOwnWrite();
    setCopiedBrewUpgradeCommand(true);
}

void ClipboardManagerState::openUpdateDownload()
{
    const auto *available = m_updateCheckStatus.as<UpdateCheckStatus::UpdateAvailable>();
    if (!available)
        return;
    if (const std::optional<QUrl> url =
            UpdateProtocol::downloadAddress(available->info, VendorAddress::webAddress()))
        m_workspace.openURL(*url);
}
