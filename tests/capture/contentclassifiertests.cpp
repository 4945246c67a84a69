#include "capture/contentclassifier.h"
#include "model/passwordcrypto.h"

#include <gtest/gtest.h>

namespace
{

using ContentClassifier::TextKind;

const ClippingSource source{.appName = QStringLiteral("Mail"),
                            .bundleID = QStringLiteral("org.example.mail"),
                            .capturedAt = Timestamp(800000000.0)};

struct TextCase {
    const char *text;
    TextKind kind;
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class ClassifyTextTest : public testing::TestWithParam<TextCase>
{
};

TEST_P(ClassifyTextTest, Kind)
{
    EXPECT_EQ(ContentClassifier::classifyText(QString::fromUtf8(GetParam().text)), GetParam().kind)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ClassifyTextTest,
    testing::Values(TextCase{"#4fc2e7", TextKind::Color}, TextCase{"  #4fc2e7 \n", TextKind::Color},
                    TextCase{"#abc", TextKind::Color}, TextCase{"#ABCDEF", TextKind::Color},
                    TextCase{"#abcd", TextKind::Text}, TextCase{"#12345", TextKind::Text},
                    TextCase{"4FC2E7", TextKind::Text}, TextCase{"#4fc2e7g", TextKind::Text},
                    TextCase{"#4fc2e7\n#000", TextKind::Text}, TextCase{"##abc", TextKind::Text},
                    TextCase{"https://example.com/a?b=c", TextKind::Link},
                    TextCase{"  http://example.com  ", TextKind::Link},
                    TextCase{"HTTPS://EXAMPLE.COM", TextKind::Link},
                    TextCase{"ftp://example.com", TextKind::Text},
                    TextCase{"https://", TextKind::Text}, TextCase{"https:", TextKind::Text},
                    TextCase{"https://a.com\nhttps://b.com", TextKind::Text},
                    TextCase{"https://exa mple.com", TextKind::Text},
                    TextCase{"example.com", TextKind::Text},
                    TextCase{"mailto:someone@example.com", TextKind::Text},
                    TextCase{"", TextKind::Text}));

struct CodeCase {
    const char *text;
    const char *app;
    bool code;
};

void PrintTo(const CodeCase &c, std::ostream *os)
{
    *os << '"' << c.text << "\" from " << c.app;
}

class LooksLikeCodeTest : public testing::TestWithParam<CodeCase>
{
};

TEST_P(LooksLikeCodeTest, Decision)
{
    EXPECT_EQ(ContentClassifier::looksLikeCode(QString::fromUtf8(GetParam().text),
                                               QString::fromUtf8(GetParam().app)),
              GetParam().code)
        << GetParam().text << " from " << GetParam().app;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, LooksLikeCodeTest,
    testing::Values(
        // Editors and terminals: any multi-line text.
        CodeCase{"total 0\ndrwx .", "Terminal", true}, CodeCase{"a\nb", "GNOME Terminal", true},
        CodeCase{"a\nb", "PyCharm Community", true}, CodeCase{"a\nb", "Visual Studio Code", true},
        CodeCase{"total 0\ndrwx .", "Mail", false},
        // An editor's single line goes on to the keyword rule.
        CodeCase{"let a = b(c)", "Xcode", false}, CodeCase{"let a = b(c); return a", "Xcode", true},
        CodeCase{"a\nb", "Mail", false},
        // Keywords: two distinct ones and a brace or parenthesis.
        CodeCase{"if (a) { return b }", "Mail", true}, CodeCase{"func f() {}", "Mail", false},
        CodeCase{"let x = 1\nlet y = 2 {", "Mail", false},
        CodeCase{"import os\ndef f(): return 1", "Mail", true},
        CodeCase{"const a = 1; var b = 2", "Mail", false},
        CodeCase{"const a = 1; var b = {}", "Mail", true},
        // Keywords end in a space and are case-sensitive.
        CodeCase{"If (a) { Return b }", "Mail", false},
        CodeCase{"iffy (returned) {}", "Mail", false}, CodeCase{"  return a; if (b)", "Mail", true},
        CodeCase{"xfunc xlet (", "Mail", true}, CodeCase{"return return (", "Mail", false},
        CodeCase{"", "Terminal", false}));

TEST(ContentClassifierTest, ColourAndLinkKeepOnlyTheTrimmedText)
{
    const ClippingItem colour = ContentClassifier::textClipping(
        QStringLiteral("  #4fc2e7 \n"), TextKind::Color, QByteArray("{\\rtf1}"), source);
    EXPECT_EQ(colour.type, ClippingType::Color);
    EXPECT_EQ(colour.textContent, QStringLiteral("#4FC2E7"));
    EXPECT_EQ(colour.colorHex, QStringLiteral("#4FC2E7"));
    EXPECT_FALSE(colour.rtfData);

    const ClippingItem link = ContentClassifier::textClipping(
        QStringLiteral(" https://example.com "), TextKind::Link, std::nullopt, source);
    EXPECT_EQ(link.type, ClippingType::Url);
    EXPECT_EQ(link.textContent, QStringLiteral("https://example.com"));
    EXPECT_FALSE(link.colorHex);
}

TEST(ContentClassifierTest, TextKeepsItsBlanksItsRichTextAndTheSource)
{
    const ClippingItem text = ContentClassifier::textClipping(
        QStringLiteral("  if (a) { return b }  "), TextKind::Text, QByteArray("{\\rtf1}"), source);
    EXPECT_EQ(text.type, ClippingType::Text);
    EXPECT_EQ(text.textContent, QStringLiteral("  if (a) { return b }  "));
    EXPECT_EQ(text.richKind, RichContentKind::CodeSnippet);
    EXPECT_EQ(text.rtfData, QByteArray("{\\rtf1}"));
    EXPECT_EQ(text.sourceAppName, source.appName);
    EXPECT_EQ(text.sourceAppBundleID, source.bundleID);
    EXPECT_EQ(text.createdAt, source.capturedAt);
    EXPECT_FALSE(text.isPassword);
    EXPECT_EQ(text.isMasked, false);
    EXPECT_FALSE(text.id.isNull());
    EXPECT_FALSE(text.isFavorite);
    EXPECT_TRUE(text.collectionIDs.isEmpty());
}

TEST(ContentClassifierTest, SecretTextIsSealedWhole)
{
    const QString password = QStringLiteral("  hunter2 \n");
    const ClippingItem secret = ContentClassifier::secretTextClipping(password, source);
    EXPECT_EQ(secret.type, ClippingType::Text);
    EXPECT_TRUE(secret.textContent.isEmpty());
    EXPECT_TRUE(secret.isPassword);
    EXPECT_EQ(secret.isMasked, true);
    EXPECT_EQ(secret.richKind, RichContentKind::PlainText);
    ASSERT_TRUE(secret.encryptedPasswordData);
    EXPECT_EQ(PasswordCrypto::decrypt(*secret.encryptedPasswordData), password);
    EXPECT_EQ(secret.resolvedText(), password);
}

TEST(ContentClassifierTest, ImageNamesItsPixelSize)
{
    const ClippingItem image =
        ContentClassifier::imageClipping(QByteArray("png"), QSize(2880, 1800), source);
    EXPECT_EQ(image.type, ClippingType::Image);
    EXPECT_EQ(image.imageDimensions, QStringLiteral("2880 \u00D7 1800 px"));
    EXPECT_EQ(image.textContent, QStringLiteral("Image (2880 \u00D7 1800 px)"));
    EXPECT_EQ(image.imageData, QByteArray("png"));
}

struct FileCase {
    const char *url;
    const char *name;
    const char *folder;
};

void PrintTo(const FileCase &c, std::ostream *os)
{
    *os << c.url;
}

class FileClippingTest : public testing::TestWithParam<FileCase>
{
};

TEST_P(FileClippingTest, NameAndFolder)
{
    const ClippingItem file = ContentClassifier::fileClipping(
        QUrl::fromEncoded(GetParam().url, QUrl::StrictMode), source);
    EXPECT_EQ(file.type, ClippingType::File);
    EXPECT_EQ(file.textContent, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(file.fileName, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(file.filePath, QString::fromUtf8(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, FileClippingTest,
    testing::Values(FileCase{"file:///Users/x/Docs/Report.pdf", "Report.pdf", "/Users/x/Docs/"},
                    FileCase{"file:///tmp/My%20Report%C3%A9.pdf", "My Reporté.pdf", "/tmp/"},
                    FileCase{"file:///home/x/Folder/", "Folder", "/home/x/"},
                    FileCase{"file:///top", "top", "/"}, FileCase{"file:///", "/", "/"}));

} // namespace
