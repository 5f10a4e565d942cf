#pragma once
// What a photo file carries beside its pixels: EXIF, IPTC, XMP and the colour
// profile. Read once when the photo is opened and added to every file written from
// it, brought up to date with the written picture (size, resolution, orientation,
// thumbnail). Blocks that cannot be made sense of are left out rather than copied.

#include <QColorSpace>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

// The fields a photographer looks at first, as the camera wrote them; empty texts
// where the photo does not say.
struct PhotoFacts {
    int orientation = 0;  // the EXIF orientation, 1 to 8; 0 when the photo has none
    QString make;
    QString model;
    QString lens;
    QString exposureTime;
    QString fNumber;
    QString iso;
    QString focalLength;
    QString dateTaken;
    bool hasGps = false;
    bool hasExif = false;
    bool hasIptc = false;
    bool hasXmp = false;
    bool hasThumbnail = false;
};

// One labelled line of PhotoFacts, for people (the editor's panel, info's text).
struct PhotoFactLine {
    const char* key;  // for info --json
    QString label;
    QString value;
};

// The camera's fields that are set, in the order people read them.
QList<PhotoFactLine> ExifFactLines(const PhotoFacts& facts);

class CPhotoMetadata {
public:
    CPhotoMetadata();

    // The metadata of a photo file's bytes, the same bytes decoded was read from
    // (whose colour space is the file's profile). Each block left out adds a line to
    // warnings.
    static CPhotoMetadata Read(const QByteArray& file, const QImage& decoded, QStringList& warnings);

    bool IsEmpty() const;
    PhotoFacts Facts() const;
    // The EXIF orientation, 1 to 8; 1 when the photo gives none.
    int Orientation() const;
    // The file's colour profile; invalid when it had none or one Qt cannot read.
    QColorSpace ColorSpace() const { return m_colorSpace; }

    // encoded holds a file of picture as Qt wrote it; on success it holds the same
    // file with this metadata added as far as its format holds it: orientation
    // normal, the picture's size and resolution, a thumbnail of it in place of the
    // old one. What the format cannot hold adds a line to notes. False with a message,
    // encoded unchanged.
    bool AddTo(QByteArray& encoded, const QImage& picture, QStringList& notes, QString& error) const;

private:
    struct Blocks;
    std::shared_ptr<const Blocks> m_blocks;
    QColorSpace m_colorSpace;
};
