#pragma once
// Runs a checked recipe on one photo in memory: each filter made for the picture the
// step before left, given its parameter text and drawn shape, applied. The photo is
// decoded once and encoded once by the caller; between steps the picture stays as a
// file would keep it, so the chain gives what the filters give one file at a time.

#include "platform/ComPtr.h"
#include "refhost/RecipePlan.h"

#include <QString>
#include <QStringList>

#include <string>

class CRecipeChain {
public:
    struct Outcome {
        CComPtr<IImage> result;  // empty when a step failed
        std::string error;       // which step failed and why, on one line
        bool cancelled = false;
    };

    // photo is not changed unless a filter hands it back as its result; a picture
    // without alpha (fourthByteIsAlpha false) has its fourth byte set to 0xFF after
    // every step, as a file read back would. progress (may be null) sees every step.
    static Outcome Run(const CRecipePlan& plan, IImage* photo, bool fourthByteIsAlpha, IProgress* progress);

    enum class Fault { None, Read, Steps, Write };
    struct FileOutcome {
        Fault fault = Fault::None;
        std::string error;     // with the file's name or the step's line
        bool cancelled = false;
        QStringList warnings;  // metadata left out on reading or writing
    };

    // The photo file input read with its metadata, run, and written to output in the
    // format its suffix names (quality as WritePhotoFile takes it); output is written
    // only when every step went well.
    static FileOutcome RunOnFile(const CRecipePlan& plan, const QString& input, const QString& output, int quality,
                                 IProgress* progress);
};
