#pragma once

#include "board/clipboardmanagerstate.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakepasteboard.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"
#include "scratchdirectory.h"
#include "store/storefile.h"

#include <future>
#include <gtest/gtest.h>
#include <memory>

// A state object over fakes and a private store folder.
class StateFixture : public testing::Test
{
protected:
    // Over the fake HTTP client unless told otherwise.
    ClipboardManagerState &makeState(HttpClient *httpClient = nullptr)
    {
        m_state = std::make_unique<ClipboardManagerState>(services(httpClient));
        return *m_state;
    }
    // Over a read of the store begun on another thread; the history waits for finishLoading().
    ClipboardManagerState &makeReadingState()
    {
        m_state = std::make_unique<ClipboardManagerState>(
            services(nullptr), std::async(std::launch::async, StoreFile::readContents,
                                          StoreFile::filePath(m_directory.path())));
        return *m_state;
    }
    ClipboardManagerState &state() { return *m_state; }
    // Every test reads the file through this path, so it waits for the writer thread first.
    QString storePath() const
    {
        if (m_state)
            m_state->waitForSaved();
        return m_directory.filePath(StoreFile::fileName());
    }

    ClipboardManagerState::Services services(HttpClient *httpClient)
    {
        return {m_settings,         m_pasteboard, m_clock,
                m_frontApplication, m_workspace,  httpClient ? *httpClient : m_httpClient,
                m_directory.path()};
    }

    ScratchDirectory m_directory;
    MemorySettingsStore m_settings;
    FakePasteboard m_pasteboard;
    FakeClock m_clock;
    FakeFrontApplication m_frontApplication;
    FakeWorkspace m_workspace;
    FakeHttpClient m_httpClient;
    std::unique_ptr<ClipboardManagerState> m_state;
};
