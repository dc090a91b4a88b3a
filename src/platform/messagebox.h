#pragma once

#include <string>

namespace korvin {

// Modal message boxes, read aloud by the screen reader.
class MessageBoxes {
public:
    enum class Icon { kInformation, kWarning, kError };
    enum class Buttons { kOk, kAbortRetryIgnore };
    enum class Result { kOk, kAbort, kRetry, kIgnore };

    virtual ~MessageBoxes() = default;
    virtual Result show(const std::string& text, const std::string& caption, Icon icon,
                        Buttons buttons = Buttons::kOk) = 0;
};

}  // namespace korvin
