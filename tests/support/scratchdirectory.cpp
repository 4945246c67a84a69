#include "scratchdirectory.h"

#include <gtest/gtest.h>

ScratchDirectory::ScratchDirectory()
    : m_directory(QDir::tempPath() + QStringLiteral("/quillstash-test-XXXXXX"))
{
    EXPECT_TRUE(m_directory.isValid());
}
