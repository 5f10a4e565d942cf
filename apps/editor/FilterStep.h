#pragma once
// One applied filter in the photo's history: the pictures before and after it.
// Consecutive steps share their pictures, so the history costs one picture a step.

#include "host/HostInterfaces.h"
#include "platform/ComPtr.h"

#include <QUndoCommand>

class CPhotoDocument;

class CFilterStep final : public QUndoCommand {
public:
    CFilterStep(CPhotoDocument* document, IImage* before, IImage* after, const QString& filterName);

    void undo() override;
    void redo() override;

private:
    CPhotoDocument* m_document;
    CComPtr<IImage> m_before;
    CComPtr<IImage> m_after;
};
