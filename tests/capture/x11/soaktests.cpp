// Thousands of captures in a row through the real clipboard and the real capture pipeline,
// history at its limit: memory and the time a capture takes must stay where they were.
#include "board/clipboardmanagerstate.h"
#include "capture/contentclassifier.h"
#include "clipboardserver.h"
#include "model/clock.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/x11/clipboardpasteboard.h"
#include "platform/x11/x11frontapplication.h"
#include "store/inisettingsstore.h"
#include "store/storefile.h"

#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace
{

constexpr int captures = 5000;
constexpr int historyLimit = 1000;
constexpr int settledAfter = 1500;
constexpr int window = 1000;

// Kilobytes, from /proc/self/status.
qint64 residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Text, links and colours, each copy different from the one before.
QByteArray copyText(int number)
{
    switch (number % 3) {
    case 0:
        return "soak " + QByteArray::number(number) +
               ": a sentence of ordinary length, long enough to look like something copied";
    case 1:
        return "https://example.org/soak/" + QByteArray::number(number) + "?from=clipboard";
    default:
        // Upper case, as colour clippings keep them.
        return '#' + QByteArray::number(number * 2654435761u % 0xFFFFFF, 16)
                         .toUpper()
                         .rightJustified(6, '0');
    }
}

TEST(SoakTest, MemoryAndCaptureTimeStayFlatOverThousandsOfCapturesAtTheHistoryLimit)
{
    ClipboardServer clipboard;
    ASSERT_TRUE(clipboard.isConnected());
    QTemporaryDir home;
    IniSettingsStore settings(home.filePath(QStringLiteral("Quillstash.conf")));
    ClipboardPasteboard pasteboard(QGuiApplication::clipboard());
    const SystemClock clock;
    X11FrontApplication frontApplication;
    // Captures never open links or ask the network.
    FakeWorkspace workspace;
    FakeHttpClient httpClient;
    // The history starts full of the same kinds of clipping as the copies, so that the first
    // captures cost what the last ones should: a capture's work grows with the size of the
    // history, and drift is what is measured here.
    const QString folder = home.filePath(QStringLiteral("data"));
    {
        QList<ClippingItem> full;
        const ClippingSource source{.appName = QStringLiteral("Editor"), .capturedAt = clock.now()};
        for (int i = 0; i < historyLimit; ++i) {
            const QString text = QString::fromUtf8(copyText(captures + i));
            full.append(ContentClassifier::textClipping(text, ContentClassifier::classifyText(text),
                                                        std::nullopt, source));
        }
        StoreFile store(folder);
        store.write(full, {});
        store.flush();
    }
    settings.setValue(QStringLiteral("Quillstash.historyLimit"), historyLimit);
    ClipboardManagerState state(
        {settings, pasteboard, clock, frontApplication, workspace, httpClient, folder});
    ASSERT_EQ(state.items().size(), historyLimit);

    QEventLoop loop;
    QString awaited;
    ClipboardServer::Clock::time_point capturedAt;
    QObject::connect(&state, &ClipboardManagerState::itemsChanged, [&] {
        if (!state.items().isEmpty() && state.items().first().textContent == awaited) {
            capturedAt = ClipboardServer::Clock::now();
            loop.quit();
        }
    });
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] { loop.exit(1); });

    std::vector<double> milliseconds;
    milliseconds.reserve(captures);
    qint64 settledMemory = 0;
    for (int i = 0; i < captures; ++i) {
        const QByteArray text = copyText(i);
        awaited = QString::fromUtf8(text);
        const ClipboardServer::Clock::time_point copiedAt = clipboard.copy(text);
        timeout.start(5000);
        ASSERT_EQ(loop.exec(), 0) << "capture " << i << " did not arrive";
        timeout.stop();
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(capturedAt - copiedAt).count());
        if (i + 1 == settledAfter) {
            state.waitForSaved();
            settledMemory = residentMemory();
        }
    }
    state.waitForSaved();
    const qint64 endMemory = residentMemory();
    ASSERT_EQ(state.items().size(), historyLimit);

    const double early = median({milliseconds.begin(), milliseconds.begin() + window});
    const double late = median({milliseconds.end() - window, milliseconds.end()});
    std::printf("resident memory: %lld kB after %d captures, %lld kB after %d\n"
                "median capture time: %.3f ms of the first %d, %.3f ms of the last %d\n",
                static_cast<long long>(settledMemory), settledAfter,
                static_cast<long long>(endMemory), captures, early, window, late, window);
    ASSERT_GT(settledMemory, 0);
    EXPECT_LE(endMemory, settledMemory * 11 / 10);
    EXPECT_LE(late, early * 1.2);
}

} // namespace
