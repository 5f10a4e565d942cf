#include "apps/editor/PhotoDocument.h"

#include "apps/editor/FilterStep.h"
#include "refhost/ImageConversion.h"
#include "refhost/ImageFile.h"

#include <algorithm>

namespace {

// The history keeps whole pictures: as many as fit in this much memory, within bounds.
constexpr qint64 kHistoryBytes = qint64(1) << 30;
constexpr int kFewestSteps = 3;
constexpr int kMostSteps = 50;

int HistoryLimitFor(const QImage& picture)
{
    const qint64 bytes = std::max<qint64>(1, qint64(picture.width()) * picture.height() * 4);
    return static_cast<int>(std::clamp<qint64>(kHistoryBytes / bytes, kFewestSteps, kMostSteps));
}

} // namespace

CPhotoDocument::CPhotoDocument(QObject* parent) : QObject(parent) {}

bool CPhotoDocument::Open(const QString& path, QString& error)
{
    QImage picture;
    CPhotoMetadata metadata;
    QStringList warnings;
    if (!ReadPhotoFile(path, picture, metadata, warnings, error)) return false;
    auto image = CComPtr<CHostImage>::Adopt(ImageFromQImage(picture));
    if (!image) {
        error = tr("Not enough memory for '%1'.").arg(path);
        return false;
    }
    m_history.clear();
    m_settledSteps.clear();
    m_history.setUndoLimit(HistoryLimitFor(picture));
    m_hasAlpha = picture.hasAlphaChannel();
    m_openedPath = path;
    m_savePath = path;
    m_metadata = std::move(metadata);
    m_warnings = std::move(warnings);
    SetImage(static_cast<IImage*>(image.Get()));
    emit opened();
    return true;
}

QImage CPhotoDocument::Picture() const
{
    return m_image ? QImageFromImage(m_image.Get(), m_hasAlpha) : QImage();
}

QImage CPhotoDocument::ScreenPicture() const
{
    QImage picture = Picture();
    const QColorSpace profile = m_metadata.ColorSpace();
    const QColorSpace screen(QColorSpace::SRgb);
    if (picture.isNull() || !profile.isValid() || profile == screen) return picture;
    picture.setColorSpace(profile);
    picture.convertToColorSpace(screen);
    return picture;
}

void CPhotoDocument::PushFilterResult(IImage* result, const QString& filterName, std::vector<RecipeStep> recipeSteps)
{
    // At the limit, pushing on top drops the oldest step; its filters stay applied.
    const bool dropsOldest = m_history.undoLimit() > 0 && m_history.count() == m_history.undoLimit() &&
                             m_history.index() == m_history.count();
    if (const auto* oldest = dropsOldest ? dynamic_cast<const CFilterStep*>(m_history.command(0)) : nullptr) {
        m_settledSteps.insert(m_settledSteps.end(), oldest->RecipeSteps().begin(), oldest->RecipeSteps().end());
    }
    m_history.push(new CFilterStep(this, m_image.Get(), result, filterName, std::move(recipeSteps)));
}

std::vector<RecipeStep> CPhotoDocument::AppliedSteps() const
{
    std::vector<RecipeStep> steps = m_settledSteps;
    for (int i = 0; i < m_history.index(); ++i) {
        if (const auto* step = dynamic_cast<const CFilterStep*>(m_history.command(i))) {
            steps.insert(steps.end(), step->RecipeSteps().begin(), step->RecipeSteps().end());
        }
    }
    return steps;
}

bool CPhotoDocument::Save(const QString& path, int quality, QString& error)
{
    QStringList notes;
    if (!WritePhotoFile(Picture(), path, quality, m_metadata, notes, error)) return false;
    m_warnings = std::move(notes);
    m_savePath = path;
    m_history.setClean();
    return true;
}

void CPhotoDocument::SetImage(IImage* image)
{
    m_image = CComPtr<IImage>::Share(image);
    emit imageChanged();
}
