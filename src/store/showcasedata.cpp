#include "showcasedata.h"

#include "vendoraddress.h"

namespace
{

const QString quotation = QStringLiteral(
    "A toast to the restless ones. The tinkerers and the doubters, the ones who colour outside "
    "the lines and ask who drew them. They have little patience for habits and no respect for "
    "the way things have always been done. You can argue with them, admire them or wish they "
    "sat still, but you cannot ignore them, because they keep changing "
    "things. They take apart what works to see how it might work better. Some call them "
    "difficult. We call them the reason anything moves, for the people odd enough to think they "
    "can improve the world are the ones who do.");

const QString codeSample = QStringLiteral("func sayHello(_ name: String?) {\n"
                                          "  if name != nil {\n"
                                          "    let myString = \"Hello, \\(name!)\"\n"
                                          "    print(myString)\n"
                                          "  }\n"
                                          "}");

const QString chromeName = QStringLiteral("Chrome");
const QString chromeID = QStringLiteral("com.google.Chrome");
const QString sketchName = QStringLiteral("Sketch");
const QString sketchID = QStringLiteral("com.bohemiancoding.sketch3");

ClippingItem colour(const char *hex, Timestamp createdAt, const char *shownAge, bool favourite,
                    const QUuid &collection)
{
    const QString text = QString::fromLatin1(hex);
    return ClippingItem::make({.type = ClippingType::Color,
                               .textContent = text,
                               .colorHex = text,
                               .sourceAppName = sketchName,
                               .sourceAppBundleID = sketchID,
                               .createdAt = createdAt,
                               .isFavorite = favourite,
                               .collectionIDs = {collection},
                               .customRelativeTimeOverride = QString::fromLatin1(shownAge)});
}

} // namespace

ShowcaseData ShowcaseData::make(Timestamp now, const std::optional<QByteArray> &artworkPng)
{
    const ClippingCollection flatColors = ClippingCollection::named(QStringLiteral("Flat Colors"));
    const ClippingCollection snippets = ClippingCollection::named(QStringLiteral("Snippets"));
    const auto ago = [now](double seconds) { return now.addingSeconds(-seconds); };
    const auto shown = [](const char *age) { return std::optional(QString::fromLatin1(age)); };

    ShowcaseData data;
    data.collections = {flatColors, snippets};
    data.items = {
        ClippingItem::make({.textContent = quotation,
                            .sourceAppName = QStringLiteral("TextEdit"),
                            .sourceAppBundleID = QStringLiteral("com.apple.TextEdit"),
                            .createdAt = ago(5),
                            .isFavorite = true,
                            .collectionIDs = {snippets.id},
                            .customRelativeTimeOverride = shown("5s")}),
        ClippingItem::make({.type = ClippingType::Url,
                            .textContent = VendorAddress::webAddress().toString(),
                            .urlTitle = QStringLiteral(
                                "Quillstash: The most flexible clipboard manager for Linux"),
                            .sourceAppName = chromeName,
                            .sourceAppBundleID = chromeID,
                            .createdAt = ago(60),
                            .isFavorite = true,
                            .customRelativeTimeOverride = shown("1m")}),
        ClippingItem::make({.type = ClippingType::File,
                            .textContent = QStringLiteral("Website Design.sketch"),
                            .fileName = QStringLiteral("Website Design.sketch"),
                            .filePath = QStringLiteral("/Users/tovi/Documents/Projects/Design/"),
                            .sourceAppName = QStringLiteral("Finder"),
                            .sourceAppBundleID = QStringLiteral("com.apple.finder"),
                            .createdAt = ago(65),
                            .customRelativeTimeOverride = shown("1m")}),
        ClippingItem::make({.textContent = codeSample,
                            .richKind = RichContentKind::CodeSnippet,
                            .sourceAppName = QStringLiteral("Xcode"),
                            .sourceAppBundleID = QStringLiteral("com.apple.dt.Xcode"),
                            .createdAt = ago(900),
                            .isFavorite = true,
                            .customRelativeTimeOverride = shown("15m")}),
        ClippingItem::make({.textContent = QStringLiteral("\u270C\uFE0F \U0001F60E"),
                            .sourceAppName = QStringLiteral("Slack"),
                            .sourceAppBundleID = QStringLiteral("com.tinyspeck.slackmacgap"),
                            .createdAt = ago(1260),
                            .collectionIDs = {snippets.id},
                            .customRelativeTimeOverride = shown("21m")}),
        colour("#4FC2E7", ago(3600), "1h", true, flatColors.id),
        ClippingItem::make({.textContent = QStringLiteral("TinyVaultWord42#"),
                            .isPassword = true,
                            .sourceAppName = QStringLiteral("1Password"),
                            .sourceAppBundleID = QStringLiteral("com.agilebits.onepassword7"),
                            .createdAt = ago(3660),
                            .customRelativeTimeOverride = shown("1h")}),
        ClippingItem::make({.type = ClippingType::Image,
                            .textContent = QStringLiteral("App Icon.png"),
                            .imageData = artworkPng,
                            .imageDimensions = QStringLiteral("512 × 512 px"),
                            .sourceAppName = QStringLiteral("Photoshop"),
                            .sourceAppBundleID = QStringLiteral("com.adobe.Photoshop"),
                            .createdAt = ago(3700),
                            .isFavorite = true,
                            .customRelativeTimeOverride = shown("1h")}),
        ClippingItem::make(
            {.textContent = QStringLiteral("The most flexible clipboard manager for Linux"),
             .richKind = RichContentKind::CoralHeadline,
             .sourceAppName = chromeName,
             .sourceAppBundleID = chromeID,
             .createdAt = ago(7200),
             .collectionIDs = {snippets.id},
             .customRelativeTimeOverride = shown("2h")}),
        colour("#ED5F55", ago(7300), "1h", false, flatColors.id),
        colour("#21242A", ago(7400), "1h", false, flatColors.id),
        ClippingItem::make(
            {.textContent = QStringLiteral("Meeting with Tavro"),
             .richKind = RichContentKind::CalendarEvent,
             .calendarSchedule = QStringLiteral("Scheduled: 8 Nov 2018 at 11:00 to 12:00"),
             .sourceAppName = QStringLiteral("Mail"),
             .sourceAppBundleID = QStringLiteral("com.apple.mail"),
             .createdAt = ago(7500),
             .customRelativeTimeOverride = shown("31m")}),
    };
    return data;
}
