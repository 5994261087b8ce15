// SPDX-License-Identifier: GPL-3.0-or-later
#include "GloVe.h"

#include <zlib.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

constexpr size_t kBlock = 512;
constexpr size_t kBufferSize = 1 << 20;

// The bytes of a gzip file, inflated as they are read.
class GzipStream
{
public:
    explicit GzipStream(const std::string &path)
        : m_file(std::fopen(path.c_str(), "rb"), &std::fclose)
        , m_in(kBufferSize)
    {
        m_ok = m_file && inflateInit2(&m_zip, 16 + MAX_WBITS) == Z_OK;
    }
    ~GzipStream() { inflateEnd(&m_zip); }
    GzipStream(const GzipStream &) = delete;
    GzipStream &operator=(const GzipStream &) = delete;

    bool ok() const { return m_ok; }

    // Up to `size` bytes; fewer only at the end of the data or on an error (see ok()).
    size_t read(char *out, size_t size)
    {
        m_zip.next_out = reinterpret_cast<Bytef *>(out);
        m_zip.avail_out = uInt(size);
        while (m_ok && !m_ended && m_zip.avail_out > 0) {
            if (m_zip.avail_in == 0) {
                m_zip.next_in = m_in.data();
                m_zip.avail_in = uInt(std::fread(m_in.data(), 1, m_in.size(), m_file.get()));
                if (m_zip.avail_in == 0) {
                    m_ok = false; // the file ends inside the compressed data
                    break;
                }
            }
            const int status = inflate(&m_zip, Z_NO_FLUSH);
            m_ended = status == Z_STREAM_END;
            m_ok = status == Z_OK || status == Z_STREAM_END;
        }
        return size - m_zip.avail_out;
    }

private:
    std::unique_ptr<FILE, int (*)(FILE *)> m_file;
    std::vector<Bytef> m_in;
    z_stream m_zip {};
    bool m_ok = false;
    bool m_ended = false;
};

// Moves `stream` to the start of the first regular file in the tar whose name ends with
// `suffix` and is not `skipped`; returns its size.
std::optional<uint64_t> findTarMember(GzipStream &stream, const std::string &suffix,
                                      const std::string &skipped)
{
    char header[kBlock];
    std::vector<char> discard(kBlock);
    while (stream.read(header, kBlock) == kBlock && header[0] != '\0') {
        const std::string name(header, strnlen(header, 100));
        uint64_t size = 0;
        for (int i = 124; i < 136 && header[i] >= '0' && header[i] <= '7'; ++i)
            size = size * 8 + uint64_t(header[i] - '0');
        const bool regular = header[156] == '0' || header[156] == '\0';
        if (regular && name.size() >= suffix.size()
            && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0
            && name.find(skipped) == std::string::npos)
            return size;
        for (uint64_t left = (size + kBlock - 1) / kBlock * kBlock; left > 0; left -= kBlock) {
            if (stream.read(discard.data(), kBlock) != kBlock)
                return std::nullopt;
        }
    }
    return std::nullopt;
}

// Just enough JSON for the package: objects, arrays, strings, numbers and literals, read one
// character at a time from a bounded part of the stream.
class JsonReader
{
public:
    JsonReader(GzipStream &stream, uint64_t size)
        : m_stream(stream)
        , m_left(size)
        , m_buffer(kBufferSize)
    { }

    bool failed() const { return !m_error.empty(); }
    const std::string &error() const { return m_error; }
    void fail(const std::string &what)
    {
        if (m_error.empty())
            m_error = what + " near byte " + std::to_string(m_offset);
    }

    int peek()
    {
        skipSpace();
        return current();
    }
    bool expect(char c)
    {
        if (peek() != c) {
            fail(std::string("expected '") + c + "'");
            return false;
        }
        advance();
        return true;
    }
    // After an element of an array or object: true when another follows, false at `close`.
    bool more(char close)
    {
        const int c = peek();
        advance();
        if (c == ',')
            return true;
        if (c != close)
            fail(std::string("expected ',' or '") + close + "'");
        return false;
    }

    std::string string()
    {
        std::string text;
        if (!expect('"'))
            return text;
        for (int c = current(); c != '"'; c = current()) {
            if (c < 0) {
                fail("unterminated string");
                return text;
            }
            advance();
            if (c == '\\')
                escape(text);
            else
                text += char(c);
        }
        advance();
        return text;
    }

    float number()
    {
        char text[64];
        size_t length = 0;
        skipSpace();
        for (int c = current();
             length < sizeof text && c > 0 && (std::isdigit(c) || std::strchr("+-.eE", c));
             c = current()) {
            text[length++] = char(c);
            advance();
        }
        float value = 0;
        if (length == 0 || std::from_chars(text, text + length, value).ec != std::errc())
            fail("expected a number");
        return value;
    }

    void skipValue()
    {
        const int c = peek();
        if (c == '"') {
            string();
        } else if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            advance();
            if (peek() == close) {
                advance();
                return;
            }
            do {
                if (close == '}') {
                    string();
                    expect(':');
                }
                skipValue();
            } while (!failed() && more(close));
        } else if (std::isalpha(c)) {
            while (std::isalpha(current()))
                advance(); // true, false, null
        } else {
            number();
        }
    }

private:
    int current()
    {
        if (m_at == m_end && !refill())
            return -1;
        return static_cast<unsigned char>(*m_at);
    }
    void advance()
    {
        ++m_at;
        ++m_offset;
    }
    void skipSpace()
    {
        for (int c = current(); c == ' ' || c == '\n' || c == '\r' || c == '\t'; c = current())
            advance();
    }
    bool refill()
    {
        const size_t wanted = size_t(std::min<uint64_t>(m_left, m_buffer.size()));
        const size_t got = wanted == 0 ? 0 : m_stream.read(m_buffer.data(), wanted);
        m_left -= got;
        m_at = m_buffer.data();
        m_end = m_at + got;
        return got > 0;
    }

    void escape(std::string &text)
    {
        const int c = current();
        advance();
        switch (c) {
        case 'b':
            text += '\b';
            break;
        case 'f':
            text += '\f';
            break;
        case 'n':
            text += '\n';
            break;
        case 'r':
            text += '\r';
            break;
        case 't':
            text += '\t';
            break;
        case 'u':
            appendUtf8(text, codeUnit());
            break;
        case '"':
        case '\\':
        case '/':
            text += char(c);
            break;
        default:
            fail("bad escape in a string");
        }
    }
    uint32_t codeUnit()
    {
        uint32_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int c = current();
            advance();
            if (!std::isxdigit(c)) {
                fail("bad \\u escape");
                return 0;
            }
            unit = unit * 16 + uint32_t(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
        }
        return unit;
    }
    void appendUtf8(std::string &text, uint32_t unit)
    {
        if (unit >= 0xD800 && unit < 0xDC00 && current() == '\\') { // a surrogate pair
            advance();
            if (current() == 'u') {
                advance();
                unit = 0x10000 + ((unit - 0xD800) << 10) + (codeUnit() - 0xDC00);
            }
        }
        if (unit < 0x80) {
            text += char(unit);
        } else if (unit < 0x800) {
            text += char(0xC0 | (unit >> 6));
            text += char(0x80 | (unit & 0x3F));
        } else if (unit < 0x10000) {
            text += char(0xE0 | (unit >> 12));
            text += char(0x80 | ((unit >> 6) & 0x3F));
            text += char(0x80 | (unit & 0x3F));
        } else {
            text += char(0xF0 | (unit >> 18));
            text += char(0x80 | ((unit >> 12) & 0x3F));
            text += char(0x80 | ((unit >> 6) & 0x3F));
            text += char(0x80 | (unit & 0x3F));
        }
    }

    GzipStream &m_stream;
    uint64_t m_left;
    std::vector<char> m_buffer;
    const char *m_at = nullptr;
    const char *m_end = nullptr;
    uint64_t m_offset = 0;
    std::string m_error;
};

struct Layout
{
    int dimensions = 0;
    int rankIndex = -1; // position of the frequency rank among a word's numbers
};

// "vectors": {"word": [components…, norm, rank], …}, keeping the words ranked below maxWords.
void readVectors(JsonReader &json, const Layout &layout, size_t maxWords, GloVe &glove,
                 std::vector<bool> &present)
{
    std::vector<float> numbers;
    json.expect('{');
    if (json.peek() == '}') {
        json.expect('}');
        return;
    }
    do {
        std::string word = json.string();
        json.expect(':');
        json.expect('[');
        numbers.clear();
        do
            numbers.push_back(json.number());
        while (!json.failed() && json.more(']'));
        if (json.failed())
            return;
        if (int(numbers.size()) <= std::max(layout.dimensions, layout.rankIndex)) {
            json.fail("too few numbers for \"" + word + "\"");
            return;
        }
        const auto rank = size_t(numbers[size_t(layout.rankIndex)]);
        if (rank >= maxWords)
            continue;
        const Eigen::Map<const Eigen::VectorXf> components(numbers.data(), layout.dimensions);
        if (components.norm() > 0)
            glove.vectors.row(Eigen::Index(rank)) = components.normalized().transpose();
        glove.words[rank] = std::move(word);
        present[rank] = true;
    } while (json.more('}'));
}

} // namespace

std::optional<GloVe> readGloVe(const std::string &tarballPath, size_t maxWords)
{
    GzipStream stream(tarballPath);
    const std::optional<uint64_t> size
        = stream.ok() ? findTarMember(stream, ".json", "package.json") : std::nullopt;
    if (!size) {
        std::cerr << tarballPath << ": not a gzip'd tar holding word vectors in JSON\n";
        return std::nullopt;
    }
    JsonReader json(stream, *size);
    Layout layout;
    GloVe glove;
    std::vector<bool> present;
    json.expect('{');
    do {
        const std::string key = json.string();
        json.expect(':');
        if (key == "dimensions") {
            layout.dimensions = int(json.number());
        } else if (key == "wordIndex") {
            layout.rankIndex = int(json.number());
        } else if (key == "vectors" && layout.dimensions > 0 && layout.rankIndex >= 0) {
            glove.words.resize(maxWords);
            glove.vectors = Eigen::MatrixXf::Zero(Eigen::Index(maxWords), layout.dimensions);
            present.assign(maxWords, false);
            readVectors(json, layout, maxWords, glove, present);
            break; // everything needed is read
        } else {
            json.skipValue();
        }
    } while (!json.failed() && json.more('}'));
    if (!json.failed() && present.empty())
        json.fail("no \"vectors\" after \"dimensions\" and \"wordIndex\"");
    if (json.failed() || !stream.ok()) {
        std::cerr << tarballPath << ": "
                  << (json.failed() ? json.error() : std::string("damaged compressed data"))
                  << '\n';
        return std::nullopt;
    }
    // Ranks without a vector close up, so rows and words stay in step.
    size_t kept = 0;
    for (size_t rank = 0; rank < present.size(); ++rank) {
        if (!present[rank])
            continue;
        if (kept != rank) {
            glove.words[kept] = std::move(glove.words[rank]);
            glove.vectors.row(Eigen::Index(kept)) = glove.vectors.row(Eigen::Index(rank));
        }
        ++kept;
    }
    glove.words.resize(kept);
    glove.vectors.conservativeResize(Eigen::Index(kept), Eigen::NoChange);
    return glove;
}
