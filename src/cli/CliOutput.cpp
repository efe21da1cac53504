#include "cli/CliOutput.h"

#include <cerrno>
#include <cstring>

CliOutput::CliOutput(std::FILE *stream) : m_stream(stream)
{
    m_buffer.reserve(BlockSize + 4096);
}

CliOutput::~CliOutput()
{
    if (!m_buffer.isEmpty())
        flushBuffer();
}

void CliOutput::write(QStringView text)
{
    m_buffer += text.toUtf8();
    flushIfFull();
}

void CliOutput::write(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    flushIfFull();
}

void CliOutput::flushBuffer()
{
    if (!m_failed && !m_buffer.isEmpty()) {
        errno = 0;
        const std::size_t size = std::size_t(m_buffer.size());
        if (std::fwrite(m_buffer.constData(), 1, size, m_stream) != size)
            fail(errno);
    }
    m_buffer.resize(0); // keeps the capacity: no allocation per block
}

bool CliOutput::finish()
{
    flushBuffer();
    if (!m_failed) {
        errno = 0;
        if (std::fflush(m_stream) != 0 || std::ferror(m_stream))
            fail(errno);
    }
    return !m_failed;
}

void CliOutput::fail(int error)
{
    m_failed = true;
    m_error = error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                         : QStringLiteral("erro de escrita");
}
