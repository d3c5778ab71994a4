#include "cli/runner.h"

#include <charconv>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/key_names.h"
#include "cli/state_json.h"
#include "display/format.h"
#include "engine/dispatch.h"
#include "keypad/keypad.h"
#include "persist/standard_file_system.h"
#include "persist/state_file.h"
#include "persist/utf8.h"

namespace rpn::cli {

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFileError = 1;

struct Options {
    bool json = false;
    bool lines = false;
    bool help = false;
    bool version = false;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> stateFile;
    std::optional<std::string> saveFile;
    std::vector<std::string> keys;
};

// The main line can carry a state file's texts; a control character among
// them would drive the terminal, so each one is shown as '?'.
std::string Printable(std::wstring text)
{
    for (wchar_t& character : text)
        if (character < 0x20 || (character >= 0x7F && character <= 0x9F))
            character = L'?';
    return Utf8(text);
}

// The state-file code reports through message boxes; here they go to
// standard error, and nobody is there to answer a file dialog.
class StreamDialogs final : public Dialogs {
public:
    explicit StreamDialogs(std::ostream& err) : m_err(err) {}
    std::optional<std::wstring> AskFileName(const FileDialogRequest&) override { return std::nullopt; }
    void ShowMessage(std::wstring_view text) override { m_err << Printable(std::wstring(text)) << '\n'; }

private:
    std::ostream& m_err;
};

using Script = std::vector<KeyStep>;

void Usage(std::ostream& stream)
{
    stream << "usage: rpn-cli [--json] [--seed N] [--lines] [--state FILE] [--save FILE] [KEY ...]\n"
              "       rpn-cli --help | --version\n"
              "KEY: k:N (key code), vk:N (keyboard virtual key), or one of:";
    for (const std::string& name : KeyNames())
        stream << ' ' << name;
    stream << '\n';
}

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::ostream& err)
{
    Options options;
    std::size_t i = 0;
    for (; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--json") {
            options.json = true;
        } else if (argument == "--lines") {
            options.lines = true;
        } else if (argument == "--seed") {
            std::uint64_t seed = 0;
            const std::string value = i + 1 < arguments.size() ? arguments[i + 1] : "";
            const auto result = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size()) {
                err << "rpn-cli: --seed needs a non-negative integer\n";
                return std::nullopt;
            }
            options.seed = seed;
            ++i;
        } else if (argument == "--state" || argument == "--save") {
            if (i + 1 >= arguments.size()) {
                err << "rpn-cli: " << argument << " needs a file name\n";
                return std::nullopt;
            }
            (argument == "--state" ? options.stateFile : options.saveFile) = arguments[i + 1];
            ++i;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
            return options;
        } else if (argument == "--version") {
            options.version = true;
            return options;
        } else if (argument == "--") {
            ++i;
            break;
        } else {
            break;
        }
    }
    options.keys.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());
    return options;
}

std::optional<Script> ParseScript(const std::vector<std::string>& tokens, std::ostream& err)
{
    Script script;
    for (const std::string& token : tokens) {
        const auto steps = ParseKey(token);
        if (!steps) {
            err << "rpn-cli: unknown key '" << token << "'\n";
            return std::nullopt;
        }
        script.insert(script.end(), steps->begin(), steps->end());
    }
    return script;
}

std::vector<std::string> SplitBlanks(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> tokens;
    for (std::string token; words >> token;)
        tokens.push_back(token);
    return tokens;
}

std::unique_ptr<RandomSource> MakeRandom(const Options& options)
{
    if (options.seed)
        return std::make_unique<StandardRandomSource>(*options.seed);
    return std::make_unique<StandardRandomSource>();
}

CalcState RunScript(const Script& script, const Options& options, CalcState state)
{
    const auto random = MakeRandom(options);
    for (const KeyStep& step : script) {
        if (step.kind == KeyStep::Kind::KeyCode) {
            state.KeyCode = step.value;
            DispatchKey(state, *random);
            state.KeyCode = 0;
        } else {
            KeyboardKey(state, step.value, *random);
        }
    }
    return state;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err)
{
    const auto options = ParseOptions(arguments, err);
    if (!options)
        return kExitUsage;
    // Asked for, usage and version are output like any other, not errors.
    if (options->help) {
        Usage(out);
        return 0;
    }
    if (options->version) {
        out << "rpn-cli " << RPN_VERSION << '\n';
        return 0;
    }

    std::vector<Script> scripts;
    if (options->lines) {
        // Every line is checked before any runs, so a bad key prints nothing.
        for (std::string line; std::getline(in, line);) {
            const auto script = ParseScript(SplitBlanks(line), err);
            if (!script)
                return kExitUsage;
            scripts.push_back(*script);
        }
    } else {
        const auto script = ParseScript(options->keys, err);
        if (!script)
            return kExitUsage;
        scripts.push_back(*script);
    }

    StandardFileSystem files;
    StreamDialogs dialogs(err);
    CalcState start = MakeResetState();
    if (options->stateFile && !ReadStateFile(start, WidePath(*options->stateFile), files, dialogs))
        return kExitFileError;

    // Every script starts from the same state; the last one's end is saved.
    CalcState state = start;
    for (const Script& script : scripts) {
        state = RunScript(script, *options, start);
        out << (options->json ? StateJson(state) : Printable(DrawnMainLine(state))) << '\n';
    }
    if (options->saveFile && !WriteStateFile(state, WidePath(*options->saveFile), files, dialogs))
        return kExitFileError;
    return 0;
}

}  // namespace rpn::cli
