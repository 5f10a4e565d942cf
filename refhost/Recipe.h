#pragma once
// A recipe: filters to run one after the other on a photo, each with its parameter
// text and, for filters that read one, the rectangle or line a user would draw on
// the photo. Its file is plain text that people read and edit:
//
//   BasicFilters recipe 1
//   # comments and blank lines are skipped
//   filter Color\Brightness and Contrast
//     BrightnessValue:20
//     ContrastValue:1.2
//   filter Crop
//     selection 0,0,256,240
//
// A step starts with "filter" and the filter's menu path; the indented lines below
// it are its parameter text (KEY:VALUE lines, escaped as the filters write them) and
// "selection L,T,R,B" or "line X1,Y1,X2,Y2" in the photo's pixels, y from the top.
// This class knows only the text; whether the filters exist and take the settings is
// CRecipePlan's business.

#include <array>
#include <optional>
#include <string>
#include <vector>

struct RecipeStep {
    std::string filter;  // as written: a menu path, its last part or an index
    // The KEY:VALUE lines in their written (escaped) form, each ending in a line feed.
    std::string parameterText;
    std::optional<std::array<int, 4>> selection;
    std::optional<std::array<int, 4>> line;
    int lineNumber = 0;  // of the "filter" line, for messages; 0 for a step not read from a file
    std::vector<int> parameterLines;  // the line of each KEY:VALUE line, for a step read from a file
};

class CRecipe {
public:
    static constexpr int kVersion = 1;

    // False with a message that starts with the number of the line at fault.
    static bool Parse(const std::string& text, CRecipe& recipe, std::string& error);
    // Parse of the file's contents; an unreadable file is named in the message.
    static bool Read(const std::string& path, CRecipe& recipe, std::string& error);

    // The text Parse reads back into the same steps.
    std::string ToText() const;
    // Writes ToText() through a temporary file beside path, renamed when complete.
    bool Write(const std::string& path, std::string& error) const;

    const std::vector<RecipeStep>& Steps() const { return m_steps; }
    void Add(RecipeStep step) { m_steps.push_back(std::move(step)); }

    // The first line of every recipe file.
    static std::string Header();

private:
    std::vector<RecipeStep> m_steps;
};

// "L,T,R,B" into four whole numbers (commas or spaces between); false when the text
// holds anything else.
bool ParseShapeNumbers(const std::string& text, std::array<int, 4>& numbers);
