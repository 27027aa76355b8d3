#include "extension_test_environment.h"
#include "extensions/module_registry.h"

namespace {

std::vector<std::string> ModuleNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < HVI_GetExtensionModuleCount(); ++i) names.push_back(HVI_GetExtensionModule(i)->GetName());
    return names;
}

}  // namespace

using ModuleLoading = ExtensionTest;

// A library that is missing or gives no module: its own popup, then the one that it gave no module, and start-up
// goes on with the built-in modules alone.
TEST_F(ModuleLoading, ALibraryThatGivesNoModuleIsReportedTwiceAndStartUpGoesOn)
{
    const struct {
        const char* built;  // the test library installed under the engine's name, or null for none
        const char* name;
        const char* feature;
        const char* firstPopup;
    } rows[] = {
        {nullptr, "module-steam.dll", "STEAM", "[POPUP] Unable to load module 'module-steam.dll'."},
        {"test-no-entry-module.dll", "module-galaxy.dll", "GALAXY",
         "[POPUP] Unable to get module 'module-galaxy.dll' interface 'HV_GetExtensionModuleInterface'."},
        {"test-null-module.dll", "module-kartridge.dll", "KARTRIDGE",
         "[POPUP] Call to module 'module-kartridge.dll' interface 'HV_GetExtensionModuleInterface' returned null."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.built != nullptr) InstallModule(row.built, row.name);
        m_log = LogCapture();
        StartServices(row.feature);
        const std::string name = row.name;
        const std::string secondPopup = "[POPUP] Unable to load module '" + name + "' interface.";
        EXPECT_TRUE(Logged("Registering module from file '" + name + "'"));
        EXPECT_TRUE(LoggedAsWarning(row.firstPopup));
        EXPECT_TRUE(LoggedAsWarning(secondPopup));
        EXPECT_LT(LogPosition(row.firstPopup), LogPosition(secondPopup));
        EXPECT_EQ(Logged("[POPUP] Unable to load module '" + name + "'."), row.built == nullptr);
        EXPECT_EQ(ModuleNames(), (std::vector<std::string>{"Simulation", "Local Fallbacks"}));
        EXPECT_TRUE(Logged("Resolving implementations inside extensions modules..."));
        StopServices();
    }
}

TEST_F(ModuleLoading, AnotherInterfaceVersionIsNotRegistered)
{
    InstallModule("test-wrong-version-module.dll", "module-steam.dll");
    StartServices("STEAM");
    EXPECT_TRUE(LoggedAsWarning("[POPUP] Module 'module-steam.dll' interface version mismatch. (2 != 1)"));
    EXPECT_FALSE(Logged("[POPUP] Unable to load module 'module-steam.dll' interface."));
    EXPECT_EQ(ModuleNames(), (std::vector<std::string>{"Simulation", "Local Fallbacks"}));
    EXPECT_FALSE(Logged("Initializing extension module 'Test Future'..."));
}

TEST_F(ModuleLoading, LibrariesLoadOnlyWithTheirFeatureWord)
{
    InstallModule("test-services-module.dll", "module-steam.dll");
    InstallModule("test-pausing-module.dll", "module-galaxy.dll");
    StartServices("GALAXY");
    EXPECT_EQ(ModuleNames(), (std::vector<std::string>{"Simulation", "Test Pausing", "Local Fallbacks"}));
    EXPECT_FALSE(Logged("Registering module from file 'module-steam.dll'"));
}

TEST_F(ModuleLoading, LoadedLibrariesAreSearchedInReverseLoadingOrderBetweenTheBuiltInModules)
{
    InstallModule("test-pausing-module.dll", "module-galaxy.dll");
    InstallModule("test-services-module.dll", "module-steam.dll");
    StartServices("STEAM,GALAXY");
    EXPECT_EQ(ModuleNames(),
              (std::vector<std::string>{"Simulation", "Test Services", "Test Pausing", "Local Fallbacks"}));
    // A module that fails to initialise is reported and stays in the list.
    EXPECT_TRUE(LoggedAsWarning("[POPUP] Failed to initialize extension 'Test Pausing'"));
    const std::vector<std::string> texts = m_log.Lines();
    const std::vector<std::string> expected = {
        "Registering extension module 'Local Fallbacks'.",    "Registering module from file 'module-galaxy.dll'",
        "Registering extension module 'Test Pausing'.",       "Registering module from file 'module-steam.dll'",
        "Registering extension module 'Test Services'.",      "Registering extension module 'Simulation'.",
        "Initializing extension module 'Simulation'...",      "Initializing extension module 'Test Services'...",
        "Initializing extension module 'Test Pausing'...",    "[POPUP] Failed to initialize extension 'Test Pausing'",
        "Initializing extension module 'Local Fallbacks'...",
    };
    ASSERT_GE(texts.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + long(expected.size())), expected);
}

// Implementations are chosen by their own answer to GetKind: nothing about a
// module's types needs to be known across the library boundary.
TEST_F(ModuleLoading, AModuleBuiltWithoutTypeInformationServesItsKind)
{
    InstallModule("test-no-rtti-module.dll", "module-steam.dll");
    StartServices("STEAM");
    EXPECT_TRUE(Logged("Using Cloud implementation from module 'No RTTI'"));
    ASSERT_TRUE(Engine()->cloud->IsAvailable());
    Engine()->cloud->PutData("slot", "abc", 3);
    HV_Blob* blob = Engine()->cloud->ReadData("slot");
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(blob->data), size_t(blob->size)), "abc");
    Engine()->FreeBlob(blob);
    EXPECT_EQ(ModuleJournal("module-steam.dll"), "PutData('slot');");
}

TEST_F(ModuleLoading, AModuleWithItsOwnDeclarationsInItsOwnNamespaceServesItsKind)
{
    InstallModule("test-namespaced-module.dll", "module-galaxy.dll");
    StartServices("GALAXY");
    EXPECT_TRUE(Logged("Using Cloud implementation from module 'Partner'"));
    Engine()->cloud->PutData("slot", "abcd", 4);
    EXPECT_EQ(Engine()->cloud->ReadData("slot"), nullptr);
    EXPECT_EQ(ModuleJournal("module-galaxy.dll"), "PutData('slot',4);ReadData('slot');");
}
