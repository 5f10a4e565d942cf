#pragma once
// A checked recipe dressed as one filter, so that the editor applies it as it
// applies any filter: with the status line's progress and Cancel, the window
// holding still, and one step in the history.

#include "Common/base/FilterInterfaces.h"
#include "platform/RefCount.h"
#include "refhost/RecipePlan.h"

#include <string>

class CRecipeFilter final : public IFilter {
public:
    // Count 1. The plan must outlive the filter; fourthByteIsAlpha as the photo's.
    static CRecipeFilter* Create(const CRecipePlan& plan, bool fourthByteIsAlpha);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // A recipe's settings are its steps: there is no parameter text of its own.
    void SetFormat(const char16_t*) override {}
    int GetFormat(char16_t* buffer, int capacity) override;
    bool IsInteractive() override { return false; }
    bool FilterReserved4(uint32_t) override { return false; }
    // Fails without a status: Error() tells which step failed and why.
    bool Apply(IUnknown* input, IImage** result, IProgress* progress, IStatus** status) override;

    const std::string& Error() const { return m_error; }

private:
    CRecipeFilter(const CRecipePlan& plan, bool fourthByteIsAlpha)
        : m_plan(plan), m_fourthByteIsAlpha(fourthByteIsAlpha)
    {
    }
    ~CRecipeFilter() = default;

    const CRecipePlan& m_plan;
    bool m_fourthByteIsAlpha;
    std::string m_error;
    CRefCount m_refs;
};
