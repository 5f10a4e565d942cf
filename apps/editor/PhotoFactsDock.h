#pragma once
// The side panel with what the opened photo carries: its colour profile and the
// camera's main fields (make, lens, exposure, date, whether it knows where).

#include <QDockWidget>

class CPhotoDocument;
class QFormLayout;
class QLabel;

class CPhotoFactsDock : public QDockWidget {
    Q_OBJECT

public:
    // Follows the document's openings; the document outlives the panel.
    explicit CPhotoFactsDock(CPhotoDocument* document, QWidget* parent = nullptr);

    // The value shown beside label; empty when there is no such line.
    QString ValueOf(const QString& label) const;

private:
    void ShowFacts();

    CPhotoDocument* m_document;
    QFormLayout* m_form;
};
