#pragma once

#include "pastesession.h"

#include <QStandardPaths>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

// A suite of tests that share one real program and target, started before its first test;
// skipped where xdotool is missing.
class PasteSessionTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return;
        s_session = std::make_unique<PasteSession>(QStringLiteral(QUILLSTASH_PROGRAM),
                                                   QStringLiteral(PASTE_TARGET_PROGRAM));
        s_error = s_session->start();
    }
    static void TearDownTestSuite() { s_session.reset(); }
    void SetUp() override
    {
        if (!s_session)
            GTEST_SKIP() << "xdotool is not installed (./scripts/bootstrap installs it)";
        ASSERT_TRUE(s_error.isEmpty()) << s_error.toStdString();
        ASSERT_TRUE(s_session->resetTarget());
    }
    void TearDown() override
    {
        if (HasFailure() && s_session)
            std::cerr << "program output:\n" << s_session->programErrors().toStdString();
    }

    // Whether the suite's program runs, for what a suite adds to the start.
    static bool isRunning() { return s_session && s_error.isEmpty(); }
    static PasteSession &session() { return *s_session; }

    static inline std::unique_ptr<PasteSession> s_session;
    static inline QString s_error;
};
