#include "persist/state_file.h"

#include "display/format.h"
#include "persist/persisted_fields.h"

namespace rpn {

namespace {

// Flags travel as 16-bit words, low byte the flag.
struct RecordWriter {
    ArchiveWriter& archive;
    const CalcState& state;

    void operator()(bool CalcState::*member) const { archive.Word(state.*member ? 1 : 0); }
    void operator()(std::int32_t CalcState::*member) const { archive.Int32(state.*member); }
    void operator()(double CalcState::*member) const { archive.Double(state.*member); }
    void operator()(std::wstring CalcState::*member) const { archive.String(state.*member); }
    void operator()(StorageRegister reg) const { archive.Double(state.RegS[reg.index]); }
};

struct RecordReader {
    ArchiveReader& archive;
    CalcState& state;

    bool operator()(bool CalcState::*member) const
    {
        std::uint16_t word = 0;
        if (!archive.Word(word))
            return false;
        state.*member = word != 0;
        return true;
    }
    bool operator()(std::int32_t CalcState::*member) const { return archive.Int32(state.*member); }
    bool operator()(double CalcState::*member) const { return archive.Double(state.*member); }
    bool operator()(std::wstring CalcState::*member) const { return archive.String(state.*member); }
    bool operator()(StorageRegister reg) const { return archive.Double(state.RegS[reg.index]); }
};

FileDialogRequest StateFileRequest(FileDialogKind kind)
{
    FileDialogRequest request;
    request.kind = kind;
    request.title = kind == FileDialogKind::Save ? kSaveStateTitle : kLoadStateTitle;
    request.filter = kStateFileFilter;
    request.defaultExtension = kStateFileExtension;
    request.confirmOverwrite = kind == FileDialogKind::Save;
    return request;
}

}  // namespace

void WriteStateRecord(const CalcState& state, ArchiveWriter& archive)
{
    for (const std::size_t index : kStateFileOrder)
        std::visit(RecordWriter{archive, state}, kPersistedFields[index].member);
}

std::optional<CalcState> ReadStateRecord(const CalcState& state, ByteSource& source)
{
    CalcState loaded = state;
    ArchiveReader archive(source);
    for (const std::size_t index : kStateFileOrder)
        if (!std::visit(RecordReader{archive, loaded}, kPersistedFields[index].member))
            return std::nullopt;
    return loaded;
}

bool WriteStateFile(const CalcState& state, const std::wstring& path, FileSystem& files, Dialogs& dialogs)
{
    bool written = false;
    // The sink goes before the message box, so no temporary file stays
    // behind while the box is open.
    if (const auto sink = files.CreateFile(path)) {
        ArchiveWriter archive(*sink);
        WriteStateRecord(state, archive);
        written = archive.Close() && sink->Commit();
    }
    if (!written)
        dialogs.ShowMessage(kFileError);
    return written;
}

bool ReadStateFile(CalcState& state, const std::wstring& path, FileSystem& files, Dialogs& dialogs)
{
    std::optional<CalcState> loaded;
    if (const auto source = files.OpenFile(path))
        loaded = ReadStateRecord(state, *source);
    if (!loaded) {
        dialogs.ShowMessage(kFileError);
        return false;
    }
    state = std::move(*loaded);
    UpdateDisplay(state);
    return true;
}

std::optional<std::wstring> OnSaveState(const CalcState& state, Dialogs& dialogs, RecentFiles& recentFiles,
                                        FileSystem& files)
{
    const auto path = dialogs.AskFileName(StateFileRequest(FileDialogKind::Save));
    if (!path)
        return std::nullopt;
    recentFiles.Add(*path);
    if (!WriteStateFile(state, *path, files, dialogs))
        return std::nullopt;
    return path;
}

bool OnLoadState(CalcState& state, Dialogs& dialogs, RecentFiles& recentFiles, FileSystem& files)
{
    const auto path = dialogs.AskFileName(StateFileRequest(FileDialogKind::Open));
    if (!path)
        return false;
    recentFiles.Add(*path);
    return ReadStateFile(state, *path, files, dialogs);
}

}  // namespace rpn
