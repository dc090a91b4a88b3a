// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace korvin {

// Modal message boxes, read aloud by the screen reader.
class MessageBoxes {
public:
    enum class Icon { kInformation, kWarning, kError };
    enum class Buttons { kOk, kAbortRetryIgnore };
    enum class Result { kOk, kAbort, kRetry, kIgnore };

    // The texts of Abort, Retry and Ignore in the interface language; the
    // platform's own when empty.
    struct ButtonTexts {
        std::string abort;
        std::string retry;
        std::string ignore;
    };

    virtual ~MessageBoxes() = default;
    virtual Result show(const std::string& text, const std::string& caption, Icon icon,
                        Buttons buttons = Buttons::kOk, const ButtonTexts& buttonTexts = {}) = 0;
};

}  // namespace korvin
