#include "board/clipboardmanagerstate.h"
#include "model/passwordcrypto.h"
#include "platform/x11/clipboardpasteboard.h"
#include "store/clippingkey.h"
#include "store/inisettingsstore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillstash"));
    QApplication::setQuitOnLastWindowClosed(false);

    IniSettingsStore settings(IniSettingsStore::defaultFilePath());
    PasswordCrypto::setKeyProvider([&settings] { return ClippingKey::loadOrCreate(settings); });

    SystemClock clock;
    ClipboardPasteboard pasteboard(QApplication::clipboard());
    ClipboardManagerState state({settings, pasteboard, clock});
    ClipboardManagerState::setShared(&state);

    return QApplication::exec();
}
