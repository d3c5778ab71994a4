// Damaged state files into the reader: it must reject or accept without
// reading out of bounds, a rejected file must leave the state alone, and an
// accepted one must survive being written and read again.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "persist/state_file.h"

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
    if (!read) {
        if (!SameBits(state, before))
            fuzz::Fail("a rejected file changed the state");
        return 0;
    }
    if (state.KeyCode != before.KeyCode)
        fuzz::Fail("KeyCode changed");

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
