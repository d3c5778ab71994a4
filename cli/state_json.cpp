#include "cli/state_json.h"

#include <charconv>
#include <cmath>

#include "display/format.h"
#include "persist/utf8.h"

namespace rpn::cli {

namespace {

class JsonObject {
public:
    void Flag(const char* name, bool value) { Raw(name, value ? "true" : "false"); }
    void Integer(const char* name, std::int32_t value) { Raw(name, std::to_string(value)); }
    void Number(const char* name, double value) { Raw(name, NumberText(value)); }
    void Text(const char* name, const std::wstring& value) { Raw(name, Quoted(Utf8(value))); }
    void Numbers(const char* name, const std::array<double, 10>& values)
    {
        std::string list = "[";
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i != 0)
                list += ',';
            list += NumberText(values[i]);
        }
        Raw(name, list + "]");
    }
    std::string Close() const { return m_text + "}"; }

private:
    void Raw(const char* name, const std::string& value)
    {
        m_text += m_text.size() == 1 ? "\"" : ",\"";
        m_text += name;
        m_text += "\":";
        m_text += value;
    }

    static std::string NumberText(double value)
    {
        if (std::isnan(value))
            return "\"nan\"";
        if (std::isinf(value))
            return value > 0 ? "\"inf\"" : "\"-inf\"";
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
        return std::string(buffer, result.ptr);
    }

    static std::string Quoted(const std::string& text)
    {
        std::string out = "\"";
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (byte < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
        return out + "\"";
    }

    std::string m_text = "{";
};

}  // namespace

std::string StateJson(const CalcState& state)
{
    JsonObject json;
    json.Flag("bAudibleClicks", state.bAudibleClicks);
    json.Integer("KeyCode", state.KeyCode);
    json.Text("DisplayText", state.DisplayText);
    json.Flag("DecimalMode", state.DecimalMode);
    json.Flag("EntryMode", state.EntryMode);
    json.Flag("ExpoMode", state.ExpoMode);
    json.Flag("FunctionMode", state.FunctionMode);
    json.Flag("AutoLift", state.AutoLift);
    json.Flag("HelpMode", state.HelpMode);
    json.Text("Integer", state.Integer);
    json.Text("Fraction", state.Fraction);
    json.Text("Exponent", state.Exponent);
    json.Text("IntegerSign", state.IntegerSign);
    json.Text("ExponentSign", state.ExponentSign);
    json.Integer("DecimalLocation", state.DecimalLocation);
    json.Number("RegX", state.RegX);
    json.Number("RegLstX", state.RegLstX);
    json.Number("RegY", state.RegY);
    json.Number("RegZ", state.RegZ);
    json.Number("RegT", state.RegT);
    json.Numbers("RegS", state.RegS);
    json.Text("DisplayMode", state.DisplayMode);
    json.Integer("DisplayPrecision", state.DisplayPrecision);
    json.Text("SuperMode", state.SuperMode);
    json.Text("AngleMode", state.AngleMode);
    json.Integer("Brightness", state.Brightness);
    json.Text("Display", DrawnMainLine(state));
    return json.Close();
}

}  // namespace rpn::cli
