#include "platform/qt_file_system.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <limits>

namespace rpn {

namespace {

class SaveFileSink final : public ByteSink {
public:
    explicit SaveFileSink(const QString& path) : m_file(path) {}

    bool Open() { return m_file.open(QIODevice::WriteOnly); }

    bool Write(std::span<const std::uint8_t> bytes) override
    {
        while (!m_failed && !bytes.empty()) {
            const auto chunk = static_cast<qint64>(
                std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(std::numeric_limits<qint32>::max())));
            const qint64 written = m_file.write(reinterpret_cast<const char*>(bytes.data()), chunk);
            if (written <= 0)
                m_failed = true;
            else
                bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return !m_failed;
    }

    bool Commit() override
    {
        if (m_failed) {
            m_file.cancelWriting();
            return false;
        }
        return m_file.commit();
    }

private:
    QSaveFile m_file;
    bool m_failed = false;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(const QString& path) : m_file(path) {}

    bool Open() { return m_file.open(QIODevice::ReadOnly); }

    std::size_t Read(std::span<std::uint8_t> buffer) override
    {
        const auto chunk = static_cast<qint64>(
            std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(std::numeric_limits<qint32>::max())));
        const qint64 got = m_file.read(reinterpret_cast<char*>(buffer.data()), chunk);
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

private:
    QFile m_file;
};

}  // namespace

std::unique_ptr<ByteSink> QtFileSystem::CreateFile(const std::wstring& path)
{
    auto sink = std::make_unique<SaveFileSink>(QString::fromStdWString(path));
    if (!sink->Open())
        return nullptr;
    return sink;
}

std::unique_ptr<ByteSource> QtFileSystem::OpenFile(const std::wstring& path)
{
    auto source = std::make_unique<FileSource>(QString::fromStdWString(path));
    if (!source->Open())
        return nullptr;
    return source;
}

}  // namespace rpn
