#pragma once

#include <optional>
#include <string>

#include "engine/calc_state.h"
#include "persist/archive.h"
#include "platform/byte_stream.h"
#include "platform/dialogs.h"
#include "platform/recent_files.h"

namespace rpn {

// State files: the 33 persisted fields at full precision in one headerless
// little-endian record. Bytes after the record are ignored.

inline constexpr wchar_t kStateFileFilter[] = L"KelRPN settings (*.rpn)|*.rpn";
inline constexpr wchar_t kStateFileExtension[] = L"*.rpn";
inline constexpr wchar_t kSaveStateTitle[] = L"Save State File";
inline constexpr wchar_t kLoadStateTitle[] = L"Load State File";
inline constexpr wchar_t kFileError[] = L"File Error";

// The record of a state, as the writer puts it out.
void WriteStateRecord(const CalcState& state, ArchiveWriter& archive);
// Reads a whole record into a copy of state (so KeyCode and DisplayText come
// along unchanged); nothing when the source ends before the record does.
std::optional<CalcState> ReadStateRecord(const CalcState& state, ByteSource& source);

// Writes the state to path through a temporary file that replaces the target
// only once everything is written. On any failure shows "File Error" and
// leaves an existing file as it was. Used by Save State and the quick save.
bool WriteStateFile(const CalcState& state, const std::wstring& path, FileSystem& files, Dialogs& dialogs);

// Reads path into state, then rebuilds the display text. All or nothing: a
// file that cannot be opened or is shorter than its record shows "File
// Error" and leaves state exactly as it was. True when state was replaced;
// the caller then has the views updated.
bool ReadStateFile(CalcState& state, const std::wstring& path, FileSystem& files, Dialogs& dialogs);

// Save State: asks for a name, lists it among the recent files before
// touching it, writes the file. The path written, or nothing when the user
// cancelled or the write failed.
std::optional<std::wstring> OnSaveState(const CalcState& state, Dialogs& dialogs, RecentFiles& recentFiles,
                                        FileSystem& files);

// Load State: asks for a name, lists it among the recent files, reads it.
// True when the state was replaced and the views must update.
bool OnLoadState(CalcState& state, Dialogs& dialogs, RecentFiles& recentFiles, FileSystem& files);

}  // namespace rpn
