// A small program of the user's with one text field, for the paste-back tests: it reports
// its window once the field has the focus ("ready <window id>") and every change of the
// field's text ("text <monotonic milliseconds> <text>").
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace
{

double monotonicMilliseconds()
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Paste Target"));
    auto *field = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(field);
    window.resize(400, 80);
    QObject::connect(field, &QLineEdit::textChanged, [](const QString &text) {
        std::printf("text %.3f %s\n", monotonicMilliseconds(), qPrintable(text));
        std::fflush(stdout);
    });
    window.show();
    window.activateWindow();
    field->setFocus();

    QTimer readiness;
    QObject::connect(&readiness, &QTimer::timeout, [&] {
        if (!window.isActiveWindow() || !field->hasFocus())
            return;
        readiness.stop();
        std::printf("ready %llu\n", static_cast<unsigned long long>(window.winId()));
        std::fflush(stdout);
    });
    readiness.start(20);
    return QApplication::exec();
}
