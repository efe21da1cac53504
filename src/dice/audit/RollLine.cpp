#include "dice/audit/RollLine.h"

#include <charconv>
#include <limits>

// A JSON reader over one line that takes out what it is asked for and checks the rest.
class RollLine::Scanner
{
public:
    explicit Scanner(QByteArrayView text) : m_at(text.data()), m_end(text.data() + text.size()) {}

    void blanks()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\t' || *m_at == '\r' || *m_at == '\n'))
            ++m_at;
    }
    bool take(char c)
    {
        blanks();
        if (m_at < m_end && *m_at == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool atEnd()
    {
        blanks();
        return m_at == m_end;
    }
    char peek()
    {
        blanks();
        return m_at < m_end ? *m_at : '\0';
    }

    // A string: `view` is its text, straight from the line when it holds no escape, or
    // decoded into `scratch` (UTF-8) when it does.
    bool string(QByteArrayView &view, QByteArray &scratch)
    {
        if (!take('"'))
            return false;
        const char *start = m_at;
        while (m_at < m_end && *m_at != '"' && *m_at != '\\'
               && static_cast<unsigned char>(*m_at) >= 0x20)
            ++m_at;
        if (m_at < m_end && *m_at == '"') {
            view = QByteArrayView(start, m_at - start);
            ++m_at;
            return true;
        }
        scratch = QByteArray(start, m_at - start);
        if (!escaped(scratch))
            return false;
        view = scratch;
        return true;
    }
    // A string passed over, checked.
    bool skipString()
    {
        QByteArrayView view;
        return string(view, m_scratch);
    }

    // The rest of a string with escapes, from where string() stopped, appended to `out`.
    bool escaped(QByteArray &out)
    {
        while (m_at < m_end) {
            const char c = *m_at++;
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at == m_end)
                return false;
            switch (const char e = *m_at++) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                char32_t code = 0;
                if (!hex4(code))
                    return false;
                if (code >= 0xD800 && code < 0xDC00) {
                    char32_t low = 0;
                    if (m_end - m_at < 6 || m_at[0] != '\\' || m_at[1] != 'u')
                        return false;
                    m_at += 2;
                    if (!hex4(low) || low < 0xDC00 || low >= 0xE000)
                        return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code < 0xE000) {
                    return false;
                }
                out += QString::fromUcs4(&code, 1).toUtf8();
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    // A number's text, checked against JSON's grammar.
    bool number(QByteArrayView &text)
    {
        blanks();
        const char *start = m_at;
        if (m_at < m_end && *m_at == '-')
            ++m_at;
        if (!digits())
            return false;
        if (m_at < m_end && *m_at == '.') {
            ++m_at;
            if (!digits())
                return false;
        }
        if (m_at < m_end && (*m_at == 'e' || *m_at == 'E')) {
            ++m_at;
            if (m_at < m_end && (*m_at == '+' || *m_at == '-'))
                ++m_at;
            if (!digits())
                return false;
        }
        text = QByteArrayView(start, m_at - start);
        return true;
    }

    // Any value, checked and passed over.
    bool skip(int depth = 0)
    {
        if (depth > 64)
            return false;
        QByteArrayView numberText;
        switch (peek()) {
        case '"':
            return skipString();
        case '{':
            take('{');
            if (take('}'))
                return true;
            do {
                if (!skipString() || !take(':') || !skip(depth + 1))
                    return false;
            } while (take(','));
            return take('}');
        case '[':
            take('[');
            if (take(']'))
                return true;
            do {
                if (!skip(depth + 1))
                    return false;
            } while (take(','));
            return take(']');
        case 't': return word("true");
        case 'f': return word("false");
        case 'n': return word("null");
        default:
            return number(numberText);
        }
    }

private:
    bool digits()
    {
        const char *start = m_at;
        while (m_at < m_end && *m_at >= '0' && *m_at <= '9')
            ++m_at;
        return m_at > start;
    }
    bool hex4(char32_t &code)
    {
        if (m_end - m_at < 4)
            return false;
        for (int i = 0; i < 4; ++i) {
            const char c = *m_at++;
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            code = code * 16 + char32_t(digit);
        }
        return true;
    }
    bool word(const char *w)
    {
        blanks();
        for (; *w; ++w, ++m_at)
            if (m_at == m_end || *m_at != *w)
                return false;
        return true;
    }

    const char *m_at;
    const char *m_end;
    QByteArray m_scratch;
};

namespace {

template <typename T> bool wholeNumber(QByteArrayView text, T &value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// "n/d" or "n": an exact value.
bool exactValue(QByteArrayView text, Fraction &value)
{
    const qsizetype slash = text.indexOf('/');
    qint64 numerator = 0;
    qint64 denominator = 1;
    if (slash < 0 ? !wholeNumber(text, numerator)
                  : !wholeNumber(text.first(slash), numerator)
                        || !wholeNumber(text.sliced(slash + 1), denominator))
        return false;
    const auto fraction = Fraction::of(numerator, denominator);
    if (!fraction)
        return false;
    value = *fraction;
    return true;
}

} // namespace

RollLine::Kind RollLine::read(QByteArrayView line)
{
    Scanner scan(line);
    m_expression = {};
    m_label = {};
    m_hasDraws = false;
    m_draws.clear();
    bool hasExpression = false;
    bool hasTotal = false;
    bool hasFraction = false;
    bool roll = true;
    Fraction fraction;
    QByteArrayView key;
    QByteArrayView text;
    QByteArray keyScratch;
    QByteArray textScratch;
    if (!scan.take('{'))
        return Kind::Broken;
    if (!scan.take('}')) {
        do {
            if (!scan.string(key, keyScratch) || !scan.take(':'))
                return Kind::Broken;
            if (key == "tipo") {
                if (!scan.string(text, textScratch))
                    return Kind::Broken;
                roll = text == "rolagem";
            } else if (key == "registro") {
                if (!scan.skip())
                    return Kind::Broken;
                roll = false;
            } else if (key == "expressao") {
                if (!scan.string(m_expression, m_expressionScratch))
                    return Kind::Broken;
                hasExpression = true;
            } else if (key == "rotulo") {
                if (!scan.string(m_label, m_labelScratch))
                    return Kind::Broken;
            } else if (key == "total") {
                QByteArrayView number;
                if (!scan.number(number))
                    return Kind::Broken;
                // A total that is not whole is read from its exact "fracao".
                qint64 whole = 0;
                hasTotal = wholeNumber(number, whole);
                m_total = whole;
            } else if (key == "fracao") {
                if (!scan.string(text, textScratch) || !exactValue(text, fraction))
                    return Kind::Broken;
                hasFraction = true;
            } else if (key == "sorteios") {
                if (!scan.take('['))
                    return Kind::Broken;
                m_hasDraws = true;
                if (!scan.take(']')) {
                    do {
                        QByteArrayView faces;
                        QByteArrayView value;
                        DrawnFace draw;
                        if (!scan.take('[') || !scan.number(faces) || !scan.take(',')
                            || !scan.number(value) || !scan.take(']')
                            || !wholeNumber(faces, draw.faces) || !wholeNumber(value, draw.value))
                            return Kind::Broken;
                        m_draws.push_back(draw);
                    } while (scan.take(','));
                    if (!scan.take(']'))
                        return Kind::Broken;
                }
            } else if (!scan.skip()) {
                return Kind::Broken;
            }
        } while (scan.take(','));
        if (!scan.take('}'))
            return Kind::Broken;
    }
    if (!scan.atEnd())
        return Kind::Broken;
    if (!roll)
        return Kind::Other;
    if (hasFraction) {
        m_total = fraction;
        hasTotal = true;
    }
    return hasExpression && hasTotal ? Kind::Roll : Kind::Broken;
}
