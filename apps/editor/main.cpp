// basicfilters-editor: a desktop photo editor around the filter module.

#include "apps/editor/EditorWindow.h"
#include "apps/editor/HostLanguage.h"
#include "platform/ComPtr.h"
#include "platform/Localization.h"
#include "refhost/FilterCatalog.h"
#include "refhost/ModuleLoader.h"
#include "refhost/PluginHost.h"

#include "BasicFiltersVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>

namespace {

constexpr int kExitModuleMissing = 3;

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("BasicFilters"));
    QApplication::setApplicationName(QStringLiteral("basicfilters-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("BasicFilters Editor"));
    QApplication::setApplicationVersion(QStringLiteral(BF_VERSION_TEXT));
    // Desktops match the window to the desktop file, and find the icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("basicfilters-editor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("basicfilters-editor")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edits a photo with the filters of the BasicFilters module."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption moduleOption(
        QStringLiteral("module"),
        QStringLiteral("The filter module (default: libBasicFilters.so beside the editor, else the installed one, "
                       "in basicfilters/ under the library folder)."),
        QStringLiteral("PATH"));
    parser.addOption(moduleOption);
    parser.addPositionalArgument(QStringLiteral("PHOTO"), QStringLiteral("The photo to open."), QStringLiteral("[PHOTO]"));
    parser.process(application);

    CModuleLoader module;
    const std::string modulePath =
        parser.isSet(moduleOption) ? parser.value(moduleOption).toStdString() : CModuleLoader::DefaultModulePath();
    std::string error;
    if (!module.Load(modulePath, error)) {
        std::fprintf(stderr, "basicfilters-editor: %s\n", error.c_str());
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromStdString(error));
        return kExitModuleMissing;
    }

    // The module and the editor's own status texts speak the user's language.
    const uint16_t language = LanguageIdOf(QLocale::system());
    CLocalization::Instance().SetLanguage(language);
    auto host = CComPtr<CPluginHost>::Adopt(CPluginHost::Create(language));
    const CFilterCatalog catalog(module, static_cast<IPluginHost*>(host.Get()));

    CEditorWindow window(catalog);
    window.show();
    if (!parser.positionalArguments().isEmpty()) window.OpenPhoto(parser.positionalArguments().first());
    return application.exec();
}
