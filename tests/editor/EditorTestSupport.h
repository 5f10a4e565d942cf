#pragma once
// What the editor's tests share: the module loaded as the editor loads it, reaching
// menu entries as a user does, answering message boxes, and pixel references.

#include "apps/editor/EditorWindow.h"
#include "apps/editor/PhotoView.h"
#include "platform/ComPtr.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PluginHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

inline const CModuleLoader& LoadedModule()
{
    static const CModuleLoader module = [] {
        CModuleLoader loader;
        std::string error;
        if (!loader.Load(BF_MODULE_PATH, error)) ADD_FAILURE() << error;
        return loader;
    }();
    return module;
}

// The factories initialized with a host object, as the editor's start-up does.
class CTestCatalog {
public:
    CTestCatalog()
        : m_host(CComPtr<CPluginHost>::Adopt(CPluginHost::Create(0x0409))),
          m_catalog(std::make_unique<CFilterCatalog>(LoadedModule(), static_cast<IPluginHost*>(m_host.Get())))
    {
    }
    const CFilterCatalog& Get() const { return *m_catalog; }

private:
    CComPtr<CPluginHost> m_host;
    std::unique_ptr<CFilterCatalog> m_catalog;
};

// A menu text as the user reads it: no shortcut marker, no trailing ellipsis.
inline QString PlainMenuText(QString text)
{
    text.remove(u'&');
    if (text.endsWith(QStringLiteral("..."))) text.chop(3);
    return text;
}

inline QAction* FindAction(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions) {
        if (PlainMenuText(action->text()) == text) return action;
    }
    return nullptr;
}

// The entry at path, walked from the menu bar: {"Filters", "Rotate", "Flip Horizontal"}.
inline QAction* MenuAction(QMenuBar* bar, const QStringList& path)
{
    QList<QAction*> level = bar->actions();
    QAction* found = nullptr;
    for (const QString& part : path) {
        found = FindAction(level, part);
        if (found == nullptr) return nullptr;
        if (found->menu() != nullptr) level = found->menu()->actions();
    }
    return found;
}

// A filter's entry wherever it is in the Filters menu or its sub-menus, never a
// sub-menu: the free Rotate shares its name with the sub-menu it heads.
inline QAction* FilterMenuEntry(QMenuBar* bar, const QString& name)
{
    QAction* filters = MenuAction(bar, {QStringLiteral("Filters")});
    if (filters == nullptr) return nullptr;
    QList<QAction*> entries = filters->menu()->actions();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QAction* action = entries[i];
        if (action->menu() != nullptr) entries += action->menu()->actions();
        else if (PlainMenuText(action->text()) == name) return action;
    }
    return nullptr;
}

// A drag with the left button from one photo pixel to another, as a user draws a
// rectangle or a line on the view.
inline void DragOnPhoto(CPhotoView* view, QPointF fromPhoto, QPointF toPhoto)
{
    QWidget* surface = view->viewport();
    const QPoint from = view->ViewportPointOf(fromPhoto).toPoint();
    const QPoint to = view->ViewportPointOf(toPhoto).toPoint();
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, (from + to) / 2);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
}

// Answers the next message box with button, and keeps what it showed for the test.
class CMessageBoxAnswer {
public:
    explicit CMessageBoxAnswer(QMessageBox::StandardButton button)
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            m_text = box->text();
            m_title = box->windowTitle();
            m_icon = box->icon();
            m_poll.stop();
            box->button(button)->click();
        });
        m_poll.start();
    }
    // Empty while no box has shown.
    const QString& Text() const { return m_text; }
    const QString& Title() const { return m_title; }
    QMessageBox::Icon Icon() const { return m_icon; }

private:
    QTimer m_poll;
    QString m_text;
    QString m_title;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
};

// Pictures compared as the bytes blue, green, red of each pixel (the fourth byte
// of an opaque photo is not the filters' business).
// The window on screen at a size that leaves the photo room beside the panel, with
// the photo at path opened.
inline testing::AssertionResult ShowWithPhoto(CEditorWindow& window, const QString& path)
{
    window.resize(900, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return testing::AssertionFailure() << "the window never showed";
    if (!window.OpenPhoto(path)) return testing::AssertionFailure() << "could not open " << path.toStdString();
    return testing::AssertionSuccess();
}

inline QImage Opaque(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_RGB32);
}

inline QImage FlippedHorizontally(const QImage& picture)
{
    QImage flipped(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) flipped.setPixel(x, y, picture.pixel(picture.width() - 1 - x, y));
    }
    return flipped;
}

// The brightness and contrast rule: v = (i - 128) * contrast + 128 + brightness,
// truncated and kept within 0..255, the same for red, green and blue.
inline int BrightnessContrastLevel(int level, double brightness, double contrast)
{
    const double v = (level - 128) * contrast + 128.0 + brightness;
    if (v >= 255.0) return 255;
    if (v < 0.0) return 0;
    return static_cast<int>(v);
}

inline QImage WithBrightnessContrast(const QImage& picture, double brightness, double contrast)
{
    QImage mapped = Opaque(picture);
    for (int y = 0; y < mapped.height(); ++y) {
        for (int x = 0; x < mapped.width(); ++x) {
            const QRgb pixel = mapped.pixel(x, y);
            mapped.setPixel(x, y, qRgb(BrightnessContrastLevel(qRed(pixel), brightness, contrast),
                                       BrightnessContrastLevel(qGreen(pixel), brightness, contrast),
                                       BrightnessContrastLevel(qBlue(pixel), brightness, contrast)));
        }
    }
    return mapped;
}

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
