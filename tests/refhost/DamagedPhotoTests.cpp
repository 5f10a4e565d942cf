// Photo files damaged in the ways the picture-file fuzz target found, read through
// the hosts' decoder path: each is read with its pixels, and what is damaged counts
// as absent instead of ending the program. The files are in the fuzz corpus.

#include "tests/FileBytes.h"

#include "refhost/ImageFile.h"
#include "refhost/PhotoMetadata.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray CorpusFile(const char* name)
{
    return FileBytes(QStringLiteral(BF_SOURCE_DIR "/fuzz/corpus/picture-file/") + QLatin1String(name));
}

} // namespace

// A PNG whose eXIf block holds the orientation tag with no value (type 0, count 0):
// Exiv2 threw from reading it, and nothing caught it.
TEST(DamagedPhoto, AnOrientationTagWithoutAValueCountsAsNone)
{
    const QByteArray bytes = CorpusFile("found-orientation-without-value.png");
    ASSERT_FALSE(bytes.isEmpty());
    QImage picture;
    CPhotoMetadata metadata;
    QStringList warnings;
    QString error;
    ASSERT_TRUE(ReadPhotoBytes(QStringLiteral("found.png"), bytes, picture, metadata, warnings, error))
        << error.toStdString();
    EXPECT_EQ(picture.size(), QSize(12, 10)) << "not turned";
    EXPECT_EQ(metadata.Orientation(), 1);
    EXPECT_EQ(metadata.Facts().orientation, 1);
}
