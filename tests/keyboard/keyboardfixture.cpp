#include "keyboardfixture.h"

QList<ClippingItem> KeyboardFixture::sampleItems()
{
    Timestamp time(700000000.0);
    auto at = [&time](ClippingItem fields) {
        time = time.addingSeconds(-60);
        fields.createdAt = time;
        return ClippingItem::make(std::move(fields));
    };
    return {
        at({.textContent = QStringLiteral("alpha"), .rtfData = QByteArray("{\\rtf1 alpha}")}),
        at({.textContent = QStringLiteral("beta")}),
        at({.textContent = QStringLiteral("gamma")}),
        at({.type = ClippingType::Url, .textContent = QStringLiteral("https://example.com/")}),
        at({.type = ClippingType::File,
            .textContent = QStringLiteral("Report.pdf"),
            .fileName = QStringLiteral("Report.pdf"),
            .filePath = QStringLiteral("/tmp/Docs/")}),
    };
}

ClipboardManagerState &KeyboardFixture::start()
{
    m_samples = sampleItems();
    StoreFile(m_directory.path()).write(m_samples, {});
    ClipboardManagerState &s = makeState();
    s.onRequestCenterWindow = [this] { m_log.append(QStringLiteral("center")); };
    s.onRequestOpenPreferences = [this] { m_log.append(QStringLiteral("preferences")); };
    s.onRequestHideWindowAndPaste = [this](const ClippingItem &item, bool paste) {
        m_log.append(QStringLiteral("hide and paste %1%2")
                         .arg(nameOf(item.id), paste ? QString() : QStringLiteral(", no paste")));
    };
    m_before = snapshot();
    return s;
}

QString KeyboardFixture::nameOf(const std::optional<QUuid> &id) const
{
    if (!id)
        return QStringLiteral("none");
    for (const ClippingItem &item : m_samples) {
        if (item.id == *id)
            return item.textContent;
    }
    return QStringLiteral("unknown");
}

ClippingItem KeyboardFixture::itemNamed(const QString &name) const
{
    for (const ClippingItem &item : m_samples) {
        if (item.textContent == name)
            return item;
    }
    ADD_FAILURE() << "no sample " << name.toStdString();
    return {};
}

KeyboardFixture::Snapshot KeyboardFixture::snapshot() const
{
    const ClipboardManagerState &s = *m_state;
    return {s.items(),
            s.selectedItemID(),
            s.quickLookItem(),
            s.searchText(),
            s.sidebarSelection(),
            s.isSidebarVisible(),
            s.gridRows(),
            s.gridColumns(),
            s.isWindowAnchored(),
            s.isPaused(),
            s.statusToastMessage(),
            m_workspace.opened().size(),
            m_workspace.revealed().size()};
}

QStringList KeyboardFixture::effects()
{
    const Snapshot now = snapshot();
    const Snapshot &was = m_before;
    QStringList out = m_log;
    m_log.clear();
    for (const ClippingItem &item : was.items) {
        if (std::none_of(now.items.begin(), now.items.end(),
                         [&](const ClippingItem &kept) { return kept.id == item.id; }))
            out.append(QStringLiteral("deleted ") + nameOf(item.id));
    }
    if (now.selected != was.selected)
        out.append(QStringLiteral("selected ") + nameOf(now.selected));
    if (now.quickLook != was.quickLook)
        out.append(QStringLiteral("quick look ") +
                   nameOf(now.quickLook ? std::optional(now.quickLook->id) : std::nullopt));
    if (now.searchText != was.searchText)
        out.append(QStringLiteral("search \"%1\"").arg(now.searchText));
    if (now.sidebar != was.sidebar && now.sidebar == SidebarSelection::history())
        out.append(QStringLiteral("history"));
    if (now.sidebarVisible != was.sidebarVisible)
        out.append(now.sidebarVisible ? QStringLiteral("sidebar shown")
                                      : QStringLiteral("sidebar hidden"));
    if (now.rows != was.rows)
        out.append(QStringLiteral("rows %1").arg(now.rows));
    if (now.columns != was.columns)
        out.append(QStringLiteral("columns %1").arg(now.columns));
    if (now.anchored != was.anchored)
        out.append(now.anchored ? QStringLiteral("anchored") : QStringLiteral("unanchored"));
    if (now.paused != was.paused)
        out.append(now.paused ? QStringLiteral("paused") : QStringLiteral("resumed"));
    if (now.toast != was.toast && now.toast)
        out.append(QStringLiteral("toast ") + *now.toast);
    for (qsizetype i = was.opened; i < now.opened; ++i)
        out.append(QStringLiteral("open ") + m_workspace.opened().at(i).toString());
    for (qsizetype i = was.revealed; i < now.revealed; ++i)
        out.append(QStringLiteral("reveal ") + m_workspace.revealed().at(i));
    m_before = now;
    return out;
}
