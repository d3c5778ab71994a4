// Damaged state files into the reader: it must reject or accept without
// reading out of bounds or allocating for a length it was only told, a
// rejected file must leave the state alone, an accepted one holds no text
// over the limit and must survive being written and read again. The same
// bytes also go through the real file layer, from a file in memory, which
// must come to the same verdict.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "persist/standard_file_system.h"
#include "persist/state_file.h"

namespace {

// A memory file holding the input, by a path the file layer opens; made
// once, refilled for every input.
std::wstring MemoryFile(std::span<const std::uint8_t> bytes)
{
    static const int descriptor = ::memfd_create("state", MFD_CLOEXEC);
    if (descriptor < 0 || ::ftruncate(descriptor, 0) != 0 ||
        ::pwrite(descriptor, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        rpn::fuzz::Fail("the memory file could not be filled");
    return L"/proc/self/fd/" + std::to_wstring(descriptor);
}

bool TextsWithinLimit(const rpn::CalcState& state)
{
    for (const auto* text : {&state.Integer, &state.Fraction, &state.Exponent, &state.IntegerSign, &state.ExponentSign,
                             &state.DisplayMode, &state.SuperMode, &state.AngleMode})
        if (text->size() > rpn::kMostTextUnits)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rpn;
    const std::span<const std::uint8_t> bytes(data, size);
    const CalcState before = fuzz::BusyState();

    fuzz::OneFileSystem files(bytes);
    fuzz::CountingDialogs dialogs;
    CalcState state = before;
    const bool read = ReadStateFile(state, L"fuzz.rpn", files, dialogs);
    if (read == (dialogs.Messages() != 0))
        fuzz::Fail("File Error shown exactly when the read fails");

    StandardFileSystem disk;
    fuzz::CountingDialogs diskDialogs;
    CalcState fromDisk = before;
    const bool readFromDisk = ReadStateFile(fromDisk, MemoryFile(bytes), disk, diskDialogs);
    if (readFromDisk != read || !SameBits(fromDisk, state))
        fuzz::Fail("the file layer and the reader in memory disagree");
    if (!read) {
        if (!SameBits(state, before))
            fuzz::Fail("a rejected file changed the state");
        return 0;
    }
    if (state.KeyCode != before.KeyCode)
        fuzz::Fail("KeyCode changed");
    if (!TextsWithinLimit(state))
        fuzz::Fail("a text longer than the limit was accepted");

    fuzz::BytesSource source(bytes);
    const auto record = ReadStateRecord(before, source);
    if (!record)
        fuzz::Fail("the record reader disagrees with ReadStateFile");
    fuzz::BytesSink sink;
    ArchiveWriter archive(sink);
    WriteStateRecord(*record, archive);
    if (!archive.Close())
        fuzz::Fail("writing to memory failed");
    fuzz::BytesSource again(sink.Bytes());
    const auto reread = ReadStateRecord(before, again);
    if (!reread || !SameBits(*reread, *record))
        fuzz::Fail("a state read from a file does not survive writing and reading");
    return 0;
}
