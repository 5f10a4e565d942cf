// The editor's smaller parts: the language it tells the module, the preview copy,
// the save formats, and how it names filters in its settings.

#include "EditorTestSupport.h"

#include "apps/editor/EditorSettings.h"
#include "apps/editor/HostLanguage.h"
#include "apps/editor/PreviewImage.h"
#include "apps/editor/SaveFormats.h"
#include "refhost/HostImage.h"

namespace {

TEST(HostLanguage, TellsThePrimaryLanguageWithTheDefaultSublanguage)
{
    EXPECT_EQ(LanguageIdOf(QLocale(QLocale::English, QLocale::UnitedKingdom)), 0x0409);
    EXPECT_EQ(LanguageIdOf(QLocale(QLocale::German, QLocale::Austria)), 0x0407);
    EXPECT_EQ(LanguageIdOf(QLocale(QLocale::French)), 0x040C);
    EXPECT_EQ(LanguageIdOf(QLocale(QLocale::Japanese)), 0x0411);
    EXPECT_EQ(LanguageIdOf(QLocale(QLocale::Swahili)), 0x0409) << "unknown languages fall back to English";
}

TEST(PreviewImage, CopiesASmallPhotoExactlyAndReducesALargeOneInProportion)
{
    auto photo = CComPtr<CHostImage>::Adopt(CHostImage::Create(300, 100));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x) photo->Row(y)[x] = 0xFF000000u | static_cast<uint32_t>(x * 256 + y);
    }
    photo->SetResolution(300, 150);
    IImage* image = static_cast<IImage*>(photo.Get());

    const CComPtr<IImage> copy = MakePreviewImage(image, QSize(300, 100), false);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.Get(), image) << "the preview never filters the photo itself";
    int width = 0;
    int height = 0;
    copy->GetSize(&width, &height);
    ASSERT_EQ(QSize(width, height), QSize(300, 100));
    EXPECT_EQ(std::memcmp(copy->GetPixels(), photo->GetPixels(), 300 * 100 * 4), 0);

    const CComPtr<IImage> reduced = MakePreviewImage(image, QSize(150, 150), false);
    ASSERT_TRUE(reduced);
    reduced->GetSize(&width, &height);
    EXPECT_EQ(QSize(width, height), QSize(150, 50));
    int horizontal = 0;
    int vertical = 0;
    reduced->GetResolution(&horizontal, &vertical);
    EXPECT_EQ(horizontal, 300);
    EXPECT_EQ(vertical, 150);
}

TEST(SaveFormats, OffersTheCommonFormatsAndKnowsWhichTakeAQuality)
{
    const QStringList filters = SaveNameFilters();
    ASSERT_GE(filters.size(), 3);
    EXPECT_EQ(SuffixOfNameFilter(filters[0]), QStringLiteral("png"));
    EXPECT_EQ(SuffixOfNameFilter(filters[1]), QStringLiteral("jpg"));
    EXPECT_EQ(SuffixOfNameFilter(filters[2]), QStringLiteral("bmp"));
    for (const QString& suffix : {QStringLiteral("png"), QStringLiteral("JPEG"), QStringLiteral("bmp")}) {
        EXPECT_TRUE(IsWritableSuffix(suffix)) << suffix.toStdString();
    }
    EXPECT_FALSE(IsWritableSuffix(QStringLiteral("gif")));
    EXPECT_TRUE(TakesQuality(QStringLiteral("jpg")));
    EXPECT_FALSE(TakesQuality(QStringLiteral("png")));
}

TEST(EditorSettings, KeepsEachFiltersSettingsUnderItsClassIdentifier)
{
    const GUID flipId{0xDA1CAF9D, 0x236E, 0x42F3, {0xBB, 0xA6, 0x5C, 0x7C, 0x8B, 0xB9, 0xCE, 0x6A}};
    EXPECT_EQ(GuidText(flipId), QStringLiteral("DA1CAF9D-236E-42F3-BBA6-5C7C8BB9CE6A"));

    CEditorSettings settings;
    const GUID otherId{0x00000001, 0x0002, 0x0003, {4, 5, 6, 7, 8, 9, 10, 11}};
    settings.SetFilterFormat(otherId, u"Radius:2\nMode:a\\:b\n");
    EXPECT_EQ(settings.FilterFormat(otherId), u"Radius:2\nMode:a\\:b\n");
    EXPECT_EQ(settings.FilterFormat(flipId), u"") << "never used";
}

} // namespace
