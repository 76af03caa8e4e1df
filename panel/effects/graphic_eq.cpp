#include "panel/effects/graphic_eq.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace effects {
namespace {

struct Point {
    double hz;
    double db;
};

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// A cursor over one line of data.
class CScanner {
public:
    explicit CScanner(std::string_view line) : m_line(line) {}

    void SkipSpaces() {
        while (m_at < m_line.size() && IsSpace(m_line[m_at])) ++m_at;
    }
    bool AtEnd() const { return m_at >= m_line.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_line[m_at]; }
    void Advance() { ++m_at; }
    std::size_t Column() const { return m_at + 1; }

    // A decimal number: sign, digits with an optional fraction, optional
    // exponent. No "inf", "nan", hexadecimal or thousands separators.
    bool Number(double& value) {
        const std::size_t start = m_at;
        std::size_t i = m_at;
        if (i < m_line.size() && (m_line[i] == '+' || m_line[i] == '-')) ++i;
        const std::size_t mantissa = i;
        std::size_t digits = 0;
        while (i < m_line.size() && IsDigit(m_line[i])) ++i, ++digits;
        if (i < m_line.size() && m_line[i] == '.') {
            ++i;
            while (i < m_line.size() && IsDigit(m_line[i])) ++i, ++digits;
        }
        if (digits == 0) return false;
        if (i < m_line.size() && (m_line[i] == 'e' || m_line[i] == 'E')) {
            std::size_t e = i + 1;
            if (e < m_line.size() && (m_line[e] == '+' || m_line[e] == '-')) ++e;
            if (e >= m_line.size() || !IsDigit(m_line[e])) return false;
            while (e < m_line.size() && IsDigit(m_line[e])) ++e;
            i = e;
        }
        // from_chars takes no '+'; the sign is put back by hand.
        const bool negative = m_line[start] == '-';
        const char* first = m_line.data() + mantissa;
        const char* last = m_line.data() + i;
        double magnitude = 0;
        const auto [end, error] = std::from_chars(first, last, magnitude);
        if (error != std::errc() || end != last || !std::isfinite(magnitude)) return false;
        value = negative ? -magnitude : magnitude;
        m_at = i;
        return true;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view m_line;
    std::size_t m_at = 0;
};

std::string At(std::size_t column, const char* what) {
    return "column " + std::to_string(column) + ": " + what;
}

bool StartsWithKeyword(std::string_view line) {
    static constexpr std::string_view kKeyword = "graphiceq:";
    if (line.size() < kKeyword.size()) return false;
    for (std::size_t i = 0; i < kKeyword.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kKeyword[i]) return false;
    }
    return true;
}

// "GraphicEQ: f g; f g; …" with an optional ';' after the last point.
bool ParseGraphicEq(std::string_view line, std::vector<Point>& points, std::string& error) {
    CScanner scan(line.substr(10));
    const std::size_t offset = 10;
    for (;;) {
        scan.SkipSpaces();
        if (scan.AtEnd()) break;
        Point p{};
        const std::size_t column = scan.Column() + offset;
        if (!scan.Number(p.hz)) {
            error = At(column, "expected a frequency in Hz");
            return false;
        }
        if (!(p.hz > 0)) {
            error = At(column, "a frequency must be above 0 Hz");
            return false;
        }
        if (!points.empty() && !(p.hz > points.back().hz)) {
            error = At(column, "frequencies must rise from point to point");
            return false;
        }
        const std::size_t beforeGap = scan.Column();
        scan.SkipSpaces();
        if (scan.Column() == beforeGap || !scan.Number(p.db)) {
            error = At(scan.Column() + offset, "expected a gain in dB after the frequency");
            return false;
        }
        points.push_back(p);
        scan.SkipSpaces();
        if (scan.AtEnd()) break;
        if (scan.Peek() != ';') {
            error = At(scan.Column() + offset, "expected ';' between points");
            return false;
        }
        scan.Advance();
    }
    if (points.empty()) {
        error = "the GraphicEQ line holds no points";
        return false;
    }
    return true;
}

// Ten numbers separated by spaces, or by one ',' or ';' with spaces around it.
bool ParseTenGains(std::string_view line, std::array<double, kBands>& gains, std::string& error) {
    CScanner scan(line);
    int count = 0;
    scan.SkipSpaces();
    while (!scan.AtEnd()) {
        if (count == kBands) {
            error = At(scan.Column(), "more than ten gains");
            return false;
        }
        if (!scan.Number(gains[count])) {
            error = At(scan.Column(), "expected a gain in dB");
            return false;
        }
        ++count;
        const std::size_t afterNumber = scan.Column();
        scan.SkipSpaces();
        if (scan.Peek() == ',' || scan.Peek() == ';') {
            scan.Advance();
            scan.SkipSpaces();
            if (scan.AtEnd()) {
                error = At(scan.Column(), "expected a gain after the separator");
                return false;
            }
        } else if (!scan.AtEnd() && scan.Column() == afterNumber) {
            error = At(scan.Column(), "expected a space, ',' or ';' between gains");
            return false;
        }
    }
    if (count != kBands) {
        error = "expected ten gains, found " + std::to_string(count);
        return false;
    }
    return true;
}

double CurveAt(const std::vector<Point>& points, double hz) {
    if (hz <= points.front().hz) return points.front().db;
    if (hz >= points.back().hz) return points.back().db;
    std::size_t lo = 0, hi = points.size() - 1;  // points[lo].hz < hz < points[hi].hz
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        (points[mid].hz <= hz ? lo : hi) = mid;
    }
    const double t = (std::log(hz) - std::log(points[lo].hz)) / (std::log(points[hi].hz) - std::log(points[lo].hz));
    return points[lo].db + t * (points[hi].db - points[lo].db);
}

std::string_view Trim(std::string_view line) {
    while (!line.empty() && (IsSpace(line.front()))) line.remove_prefix(1);
    while (!line.empty() && (IsSpace(line.back()) || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

int GainToPosition(double db, bool& clamped) {
    // std::round takes halves away from zero; a half step written in decimal
    // (0.3, 0.9, … dB) divides to an exact or slightly larger half.
    double steps = std::round(db / kStepDb);
    clamped = false;
    if (steps > -kBandMin) {
        steps = -kBandMin;
        clamped = true;
    } else if (steps < -kBandMax) {
        steps = -kBandMax;
        clamped = true;
    }
    return -static_cast<int>(steps);  // positions are negated: -20 is +12 dB
}

EqImport ParseEqualizerText(std::string_view text) {
    EqImport result;
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    std::string_view data;
    std::size_t dataLine = 0;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        if (line.find('\0') != std::string_view::npos) {
            result.error = "line " + std::to_string(lineNumber) + ": not a text file";
            return result;
        }
        if (!data.empty()) {
            result.error = "line " + std::to_string(lineNumber) + ": more than one line of equalizer data";
            return result;
        }
        data = line;
        dataLine = lineNumber;
    }
    if (data.empty()) {
        result.error = "no GraphicEQ line and no ten gains found";
        return result;
    }

    std::array<double, kBands> gains{};
    std::string error;
    if (StartsWithKeyword(data)) {
        std::vector<Point> points;
        if (!ParseGraphicEq(data, points, error)) {
            result.error = "line " + std::to_string(dataLine) + ", " + error;
            return result;
        }
        for (int band = 0; band < kBands; ++band) gains[band] = CurveAt(points, kBandFrequencies[band]);
    } else if (!ParseTenGains(data, gains, error)) {
        result.error = "line " + std::to_string(dataLine) + ", " + error;
        return result;
    }

    for (int band = 0; band < kBands; ++band) {
        bool clamped = false;
        result.positions[band] = GainToPosition(gains[band], clamped);
        if (clamped) ++result.clamped;
    }
    result.ok = true;
    return result;
}

std::string FormatGraphicEq(const BandPositions& positions) {
    std::string out = "GraphicEQ:";
    for (int band = 0; band < kBands; ++band) {
        // -0.6 × position in tenths is an integer: print it exactly.
        const int tenths = positions[band] * -6;
        const int whole = tenths / 10;
        const int fraction = tenths % 10 < 0 ? -(tenths % 10) : tenths % 10;
        char gain[32];
        if (fraction == 0)
            std::snprintf(gain, sizeof gain, "%d", whole);
        else
            std::snprintf(gain, sizeof gain, "%s%d.%d", tenths < 0 && whole == 0 ? "-" : "", whole, fraction);
        char point[64];
        std::snprintf(point, sizeof point, "%s %d %s", band ? ";" : "", static_cast<int>(kBandFrequencies[band]), gain);
        out += point;
    }
    return out;
}

}  // namespace effects
