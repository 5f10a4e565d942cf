// Where a host looks for the module when no --module is given: beside itself in a
// build tree, in the module's own folder under the library folder once installed.

#include "refhost/ModuleLoader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "module";
}

} // namespace

TEST(ModuleLookup, PrefersTheModuleBesideTheProgramAndElseTheInstalledOne)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const fs::path program = fs::path(root.path().toStdString()) / "usr" / "bin" / "basicfilters";
    const fs::path beside = program.parent_path() / "libBasicFilters.so";

    // Nothing installed: the place an installed program would look is named, under
    // the same prefix and in a folder of the module's own.
    const fs::path installed = CModuleLoader::ModulePathFor(program.string());
    EXPECT_EQ(installed.filename(), "libBasicFilters.so");
    EXPECT_EQ(installed.parent_path().filename(), "basicfilters");
    EXPECT_NE(installed.parent_path(), program.parent_path());
    EXPECT_EQ(installed.lexically_relative(root.path().toStdString()).begin()->string(), "usr");
    EXPECT_EQ(installed, installed.lexically_normal());

    Touch(installed);
    EXPECT_EQ(CModuleLoader::ModulePathFor(program.string()), installed.string());

    // A build tree's module beside the program wins over an installed one.
    Touch(beside);
    EXPECT_EQ(CModuleLoader::ModulePathFor(program.string()), beside.string());
}
