#pragma once

#include <optional>

#include "engine/calc_state.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"

namespace rpn {

inline constexpr wchar_t kNoClipboardText[] = L"There is no text data (ANSI) on the Clipboard.";

// Edit > Copy: the number shown (the entry's value while one is keyed in,
// else X) as "%.6e" text. The state is not changed; a busy clipboard is
// skipped without a message.
void OnEditCopy(const CalcState& state, Clipboard& clipboard);

// Edit > Cut: Copy, then clears X and the entry and rebuilds the display,
// even when the clipboard was busy. The caller has the views updated.
void OnEditCut(CalcState& state, Clipboard& clipboard);

// Edit > Paste: ends any entry and puts the clipboard text's leading number
// in X, without a stack lift. No text: a message and no change. Busy: no
// change. True when the state changed and the views must update.
bool OnEditPaste(CalcState& state, Clipboard& clipboard, Dialogs& dialogs);

// Whether Paste is enabled: text on the clipboard. Nothing when the
// clipboard is busy, so the item keeps its state.
std::optional<bool> OnUpdateEditPaste(Clipboard& clipboard);

}  // namespace rpn
