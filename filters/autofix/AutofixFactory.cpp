#include "filters/autofix/AutofixFactory.h"

#include "filters/autofix/AutofixFilter.h"
#include "filters/autofix/AutofixSettings.h"
#include "resources/StringIds.h"

namespace {

constexpr ComponentDescription kDescription{
    {0x8553A6A5, 0x08C9, 0x4F94, {0xB0, 0x82, 0x45, 0x89, 0xB1, 0x55, 0xA7, 0x27}},
    IDS_NAME_AUTOFIX, 0x2B0000, 50, 5089, HostKeeping::Uncounted, Listing::Listed, kAutofixSettings};

} // namespace

CInteractiveAutofixFactory::CInteractiveAutofixFactory() : CFilterFactoryBase(kDescription) {}

bool CInteractiveAutofixFactory::NewFilter(IUnknown* source, IPluginHost* host, IFilter** filter, IStatus** status)
{
    return MakeFilter<CInteractiveAutofixFilter>(source, host, filter, status);
}
