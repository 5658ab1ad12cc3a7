#include "app/CsvReader.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Past the line break at `at`, counting the line.
void SkipLineEnd(const std::string& text, std::size_t& at, std::size_t& line) {
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    ++line;
}

class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {
        if (m_text.compare(0, 3, "\xEF\xBB\xBF") == 0) m_at = 3;
    }

    bool More() const { return m_at < m_text.size(); }

    CsvRecord Next() {
        const std::size_t start = m_at;
        CsvRecord record;
        record.line = m_line;
        for (;;) {
            std::string cell;
            const bool read =
                m_at < m_text.size() && m_text[m_at] == '"' ? Quoted(cell, record) : Plain(cell);
            if (!read) {
                // Start again at the line after the record's first, so a stray quote costs
                // one line and not the rest of the file.
                m_at = start;
                m_line = record.line;
                while (m_at < m_text.size() && !IsLineEnd(m_text[m_at])) ++m_at;
                SkipLineEnd(m_text, m_at, m_line);
                record.cells.clear();
                return record;
            }
            record.cells.push_back(std::move(cell));
            if (m_at == m_text.size()) return record;
            if (m_text[m_at++] == ';') continue;
            --m_at;
            SkipLineEnd(m_text, m_at, m_line);
            return record;
        }
    }

private:
    bool Plain(std::string& cell) {
        const std::size_t end = m_text.find_first_of(";\r\n", m_at);
        const std::size_t stop = end == std::string::npos ? m_text.size() : end;
        cell.assign(m_text, m_at, stop - m_at);
        m_at = stop;
        return true;
    }

    bool Quoted(std::string& cell, CsvRecord& record) {
        for (++m_at;;) {
            const std::size_t quote = m_text.find('"', m_at);
            if (quote == std::string::npos) {
                record.problem = "chýba koncová úvodzovka";
                return false;
            }
            for (std::size_t i = m_at; i < quote; ++i) {
                if (m_text[i] == '\n' || (m_text[i] == '\r' && m_text[i + 1] != '\n')) ++m_line;
            }
            cell.append(m_text, m_at, quote - m_at);
            m_at = quote + 1;
            if (m_at < m_text.size() && m_text[m_at] == '"') {
                cell += '"';
                ++m_at;
                continue;
            }
            if (m_at == m_text.size() || m_text[m_at] == ';' || IsLineEnd(m_text[m_at])) {
                return true;
            }
            record.problem = "text za koncovou úvodzovkou";
            return false;
        }
    }

    const std::string& m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 1;
};

}  // namespace

std::vector<CsvRecord> ReadCsvRecords(const std::string& text) {
    std::vector<CsvRecord> records;
    Reader reader(text);
    while (reader.More()) {
        CsvRecord record = reader.Next();
        const bool blank =
            record.problem.empty() && record.cells.size() == 1 && record.cells[0].empty();
        if (!blank) records.push_back(std::move(record));
    }
    return records;
}
