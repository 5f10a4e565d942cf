#include "refhost/Recipe.h"

#include "Common/params/ParamList.h"
#include "platform/WideString.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <sstream>

namespace {

constexpr std::string_view kMagic = "BasicFilters recipe";
constexpr std::string_view kFilterWord = "filter";
constexpr std::string_view kSelectionWord = "selection";
constexpr std::string_view kLineWord = "line";
constexpr const char* kIndent = "  ";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// "word rest": the rest when text starts with word and a blank, else nothing.
std::optional<std::string_view> AfterWord(std::string_view text, std::string_view word)
{
    if (text.size() <= word.size() || !text.starts_with(word) || !IsBlank(text[word.size()])) return std::nullopt;
    return Trimmed(text.substr(word.size()));
}

std::string AtLine(int number, const std::string& message)
{
    return "line " + std::to_string(number) + ": " + message;
}

std::string ShapeText(const std::array<int, 4>& numbers)
{
    return std::to_string(numbers[0]) + "," + std::to_string(numbers[1]) + "," + std::to_string(numbers[2]) + "," +
           std::to_string(numbers[3]);
}

bool ReadHeader(std::string_view first, std::string& error)
{
    const std::string_view header = Trimmed(first);
    const std::optional<std::string_view> version = AfterWord(header, kMagic);
    if (!version) {
        error = AtLine(1, "not a recipe: the first line must be '" + CRecipe::Header() + "'");
        return false;
    }
    if (*version != std::to_string(CRecipe::kVersion)) {
        error = AtLine(1, "a recipe of version '" + std::string(*version) + "'; this tool reads version " +
                              std::to_string(CRecipe::kVersion) + " ('" + CRecipe::Header() + "')");
        return false;
    }
    return true;
}

bool ReadShapeLine(std::string_view word, std::string_view numbers, RecipeStep& step, int number, std::string& error)
{
    const bool isLine = word == kLineWord;
    std::optional<std::array<int, 4>>& shape = isLine ? step.line : step.selection;
    const char* form = isLine ? "line X1,Y1,X2,Y2" : "selection LEFT,TOP,RIGHT,BOTTOM";
    std::array<int, 4> read{};
    if (!ParseShapeNumbers(std::string(numbers), read)) {
        error = AtLine(number, std::string("wants '") + form + "', four whole numbers, got '" + std::string(numbers) +
                                   "'");
        return false;
    }
    if (shape) {
        error = AtLine(number, "a second '" + std::string(word) + "' for the same filter");
        return false;
    }
    shape = read;
    return true;
}

// An indented line: a parameter line (it holds a colon) or a shape.
bool ReadStepLine(std::string_view text, RecipeStep& step, int number, std::string& error)
{
    if (text.find(':') != std::string_view::npos) {
        CParamList pair;
        if (pair.Parse(WidenUtf8(std::string(text)).c_str()) != 0 || pair.Count() != 1) {
            error = AtLine(number, "not a KEY:VALUE line ('" + std::string(text) +
                                       "'; write ':' and '\\' inside keys and values as '\\:' and '\\\\')");
            return false;
        }
        step.parameterText.append(text).push_back('\n');
        step.parameterLines.push_back(number);
        return true;
    }
    for (const std::string_view word : {kSelectionWord, kLineWord}) {
        if (const std::optional<std::string_view> numbers = AfterWord(text, word)) {
            return ReadShapeLine(word, *numbers, step, number, error);
        }
    }
    error = AtLine(number, "expected KEY:VALUE, 'selection L,T,R,B' or 'line X1,Y1,X2,Y2', got '" +
                               std::string(text) + "'");
    return false;
}

bool ReadLine(std::string_view raw, int number, std::vector<RecipeStep>& steps, std::string& error)
{
    const std::string_view text = Trimmed(raw);
    if (text.empty() || text.front() == '#') return true;
    if (IsBlank(raw.front())) {
        if (steps.empty()) {
            error = AtLine(number, "an indented line before the first 'filter' line");
            return false;
        }
        return ReadStepLine(text, steps.back(), number, error);
    }
    const std::optional<std::string_view> name = AfterWord(text, kFilterWord);
    if (!name || name->empty()) {
        error = AtLine(number,
                       "expected 'filter NAME' (the settings below it indented), got '" + std::string(text) + "'");
        return false;
    }
    RecipeStep step;
    step.filter = std::string(*name);
    step.lineNumber = number;
    steps.push_back(std::move(step));
    return true;
}

} // namespace

std::string CRecipe::Header()
{
    return std::string(kMagic) + " " + std::to_string(kVersion);
}

bool ParseShapeNumbers(const std::string& text, std::array<int, 4>& numbers)
{
    std::string spaced = text;
    std::replace(spaced.begin(), spaced.end(), ',', ' ');
    std::istringstream words(spaced);
    for (int& number : numbers) words >> number;
    return !words.fail() && (words >> std::ws).eof();
}

bool CRecipe::Parse(const std::string& text, CRecipe& recipe, std::string& error)
{
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    if (!ReadHeader(line, error)) return false;
    std::vector<RecipeStep> steps;
    for (int number = 2; std::getline(lines, line); ++number) {
        if (!ReadLine(line, number, steps, error)) return false;
    }
    recipe.m_steps = std::move(steps);
    return true;
}

bool CRecipe::Read(const std::string& path, CRecipe& recipe, std::string& error)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read the recipe '" + path + "': " + file.errorString().toStdString();
        return false;
    }
    if (Parse(file.readAll().toStdString(), recipe, error)) return true;
    error = path + ": " + error;
    return false;
}

std::string CRecipe::ToText() const
{
    std::string text = Header() + "\n";
    for (const RecipeStep& step : m_steps) {
        text += std::string(kFilterWord) + " " + step.filter + "\n";
        std::istringstream lines(step.parameterText);
        for (std::string line; std::getline(lines, line);) {
            if (!Trimmed(line).empty()) text += kIndent + std::string(Trimmed(line)) + "\n";
        }
        if (step.selection) text += kIndent + std::string(kSelectionWord) + " " + ShapeText(*step.selection) + "\n";
        if (step.line) text += kIndent + std::string(kLineWord) + " " + ShapeText(*step.line) + "\n";
    }
    return text;
}

bool CRecipe::Write(const std::string& path, std::string& error) const
{
    QSaveFile file(QString::fromStdString(path));
    const std::string text = ToText();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        error = "cannot write the recipe '" + path + "': " + file.errorString().toStdString();
        return false;
    }
    return true;
}
