#include "platform/dsm/sane_options.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "sources/twain.h"

namespace quorvane::dsm {
namespace {

constexpr const char* StringOptions[] = {SANE_NAME_SCAN_SOURCE, SANE_NAME_SCAN_MODE};
constexpr const char* NumberOptions[] = {SANE_NAME_BIT_DEPTH,  SANE_NAME_SCAN_RESOLUTION, SANE_NAME_SCAN_TL_X,
                                         SANE_NAME_SCAN_TL_Y,  SANE_NAME_SCAN_BR_X,       SANE_NAME_SCAN_BR_Y};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool Mentions(const std::string& text, std::initializer_list<const char*> words) {
    const std::string lower = Lower(text);
    return std::any_of(words.begin(), words.end(), [&](const char* word) { return lower.find(word) != std::string::npos; });
}

// The pixel type a mode's name stands for, or -1.
int ModeType(const std::string& mode) {
    if (Mentions(mode, {"color", "colour", "rgb"})) return TWPT_RGB;
    if (Mentions(mode, {"lineart", "line art", "binary", "halftone", "black"})) return TWPT_BW;
    if (Mentions(mode, {"gray", "grey"})) return TWPT_GRAY;
    return -1;
}

bool IsNumber(const SANE_Option_Descriptor& option) {
    return (option.type == SANE_TYPE_INT || option.type == SANE_TYPE_FIXED) && option.size == sizeof(SANE_Word);
}

double FromWord(const SANE_Option_Descriptor& option, SANE_Word word) {
    return option.type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : word;
}

}  // namespace

const SANE_Option_Descriptor* SaneOptions::Find(const char* name, SANE_Int& index) const {
    for (index = 1;; ++index) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(device_, index);
        if (option == nullptr) return nullptr;
        if (option->name != nullptr && std::string_view(option->name) == name)
            return SANE_OPTION_IS_ACTIVE(option->cap) ? option : nullptr;
    }
}

std::optional<StringChoice> SaneOptions::Strings(const char* name) const {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = Find(name, index);
    if (option == nullptr || option->type != SANE_TYPE_STRING || option->size <= 0 ||
        option->constraint_type != SANE_CONSTRAINT_STRING_LIST)
        return std::nullopt;
    StringChoice choice;
    for (const SANE_String_Const* value = option->constraint.string_list; *value != nullptr; ++value)
        choice.values.emplace_back(*value);
    std::string current(static_cast<std::size_t>(option->size), '\0');
    if (sane_control_option(device_, index, SANE_ACTION_GET_VALUE, current.data(), nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    choice.current = current.c_str();
    return choice;
}

std::optional<NumberChoice> SaneOptions::Number(const char* name) const {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = Find(name, index);
    if (option == nullptr || !IsNumber(*option)) return std::nullopt;
    NumberChoice choice;
    choice.unit = option->unit;
    if (option->constraint_type == SANE_CONSTRAINT_RANGE) {
        choice.minimum = FromWord(*option, option->constraint.range->min);
        choice.maximum = FromWord(*option, option->constraint.range->max);
        choice.step = FromWord(*option, option->constraint.range->quant);
    } else if (option->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        const SANE_Word* words = option->constraint.word_list;
        for (SANE_Word i = 1; i <= words[0]; ++i) choice.list.push_back(FromWord(*option, words[i]));
        if (choice.list.empty()) return std::nullopt;
        choice.minimum = *std::min_element(choice.list.begin(), choice.list.end());
        choice.maximum = *std::max_element(choice.list.begin(), choice.list.end());
    } else {
        return std::nullopt;
    }
    SANE_Word current = 0;
    if (sane_control_option(device_, index, SANE_ACTION_GET_VALUE, &current, nullptr) != SANE_STATUS_GOOD)
        return std::nullopt;
    choice.current = FromWord(*option, current);
    return choice;
}

SANE_Status SaneOptions::SetString(const char* name, const std::string& value) {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = Find(name, index);
    if (option == nullptr || option->type != SANE_TYPE_STRING || !SANE_OPTION_IS_SETTABLE(option->cap))
        return SANE_STATUS_UNSUPPORTED;
    std::string buffer = value;
    buffer.resize(std::max<std::size_t>(static_cast<std::size_t>(option->size), value.size() + 1), '\0');
    return sane_control_option(device_, index, SANE_ACTION_SET_VALUE, buffer.data(), nullptr);
}

SANE_Status SaneOptions::SetNumber(const char* name, double value) {
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = Find(name, index);
    if (option == nullptr || !IsNumber(*option) || !SANE_OPTION_IS_SETTABLE(option->cap))
        return SANE_STATUS_UNSUPPORTED;
    SANE_Word word = option->type == SANE_TYPE_FIXED ? SANE_FIX(value) : static_cast<SANE_Word>(std::lround(value));
    return sane_control_option(device_, index, SANE_ACTION_SET_VALUE, &word, nullptr);
}

std::optional<std::string> SaneOptions::ModeFor(int type) const {
    const std::optional<StringChoice> modes = Strings(SANE_NAME_SCAN_MODE);
    if (!modes) return std::nullopt;
    for (const std::string& mode : modes->values)
        if (ModeType(mode) == type) return mode;
    return std::nullopt;
}

PixelTypeMask SaneOptions::PixelTypes() const {
    PixelTypeMask mask = 0;
    if (const std::optional<StringChoice> modes = Strings(SANE_NAME_SCAN_MODE)) {
        for (const std::string& mode : modes->values)
            if (const int type = ModeType(mode); type >= 0) mask |= 1u << type;
    } else {
        mask |= 1u << PixelType();
    }
    const std::optional<NumberChoice> depth = Number(SANE_NAME_BIT_DEPTH);
    if ((mask & 1u << TWPT_GRAY) != 0 && depth && std::count(depth->list.begin(), depth->list.end(), 1.0) > 0)
        mask |= 1u << TWPT_BW;
    return mask;
}

int SaneOptions::PixelType() const {
    const std::optional<StringChoice> mode = Strings(SANE_NAME_SCAN_MODE);
    const std::optional<NumberChoice> depth = Number(SANE_NAME_BIT_DEPTH);
    const int type = mode ? ModeType(mode->current) : -1;
    if (type == TWPT_GRAY && depth && depth->current == 1) return TWPT_BW;
    if (type >= 0) return type;
    SANE_Parameters parameters{};
    sane_get_parameters(device_, &parameters);
    if (parameters.format != SANE_FRAME_GRAY) return TWPT_RGB;
    return parameters.depth == 1 ? TWPT_BW : TWPT_GRAY;
}

SANE_Status SaneOptions::SetPixelType(int type) {
    if ((PixelTypes() & 1u << type) == 0) return SANE_STATUS_INVAL;
    if (type == PixelType()) return SANE_STATUS_GOOD;
    const std::optional<std::string> own = ModeFor(type);
    const std::optional<std::string> mode = own ? own : ModeFor(TWPT_GRAY);
    if (mode) {
        if (const SANE_Status status = SetString(SANE_NAME_SCAN_MODE, *mode); status != SANE_STATUS_GOOD) return status;
    }
    const std::optional<NumberChoice> depth = Number(SANE_NAME_BIT_DEPTH);
    if (!depth || (type == TWPT_BW && own)) return SANE_STATUS_GOOD;
    const double wanted = type == TWPT_BW ? 1.0 : 8.0;
    if (std::count(depth->list.begin(), depth->list.end(), wanted) == 0) return SANE_STATUS_GOOD;
    return SetNumber(SANE_NAME_BIT_DEPTH, wanted);
}

bool SaneOptions::FromFeeder() const {
    const std::optional<StringChoice> source = Strings(SANE_NAME_SCAN_SOURCE);
    return source && Mentions(source->current, {"feeder", "adf"});
}

SaneOptions::Saved SaneOptions::Save() const {
    Saved saved;
    for (const char* name : StringOptions)
        if (const std::optional<StringChoice> choice = Strings(name)) saved.strings.emplace_back(name, choice->current);
    for (const char* name : NumberOptions)
        if (const std::optional<NumberChoice> choice = Number(name)) saved.numbers.emplace_back(name, choice->current);
    return saved;
}

void SaneOptions::Restore(const Saved& saved) {
    for (const auto& [name, value] : saved.strings) SetString(name.c_str(), value);
    for (const auto& [name, value] : saved.numbers) SetNumber(name.c_str(), value);
}

}  // namespace quorvane::dsm
