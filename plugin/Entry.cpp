#include "plugin/BasicFiltersEnum.h"
#include "plugin/BasicFiltersApp.h"

// The module's only export. The enumerator is a static object: no reference is added.
extern "C" __attribute__((visibility("default"))) bool PHOTO_PLUGIN_GetPrimaryComponent(IComponent** component)
{
    if (component == nullptr) return false;
    CBasicFiltersApp::Instance();
    *component = &CBasicFiltersEnum::Instance();
    return true;
}
