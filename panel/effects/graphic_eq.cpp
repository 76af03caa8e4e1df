#include "panel/effects/graphic_eq.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <complex>
#include <cstdio>
#include <optional>

namespace effects {
namespace {

struct Point {
    double hz;
    double db;
};

// Every gain a file gives (points, ten gains, filters, preamps) lies within
// this, so that the sums and the filters' coefficients stay finite.
constexpr double kLargestGainDb = 1000;
constexpr double kSmallestQ = 0.001;
constexpr double kLargestQ = 1000;
// A shelf's Q when its line gives none: 1/√2, the cookbook's slope S = 1.
constexpr double kShelfQ = 0.70710678118654752;

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Lower(text[i]) != lowerWord[i]) return false;
    return true;
}

bool StartsWithNoCase(std::string_view line, std::string_view lowerPrefix) {
    return line.size() >= lowerPrefix.size() && SameWord(line.substr(0, lowerPrefix.size()), lowerPrefix);
}

// A refusal at a line and column.
struct CRefusal {
    CRefusal(EqProblem what, std::size_t at = 0, std::string about = {})
        : problem(what), column(at), detail(std::move(about)) {}
    EqProblem problem;
    std::size_t column;
    std::string detail;
};

// A cursor over one line of data.
class CScanner {
public:
    explicit CScanner(std::string_view line, std::size_t at = 0) : m_line(line), m_at(at) {}

    void SkipSpaces() {
        while (m_at < m_line.size() && IsSpace(m_line[m_at])) ++m_at;
    }
    bool AtEnd() const { return m_at >= m_line.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_line[m_at]; }
    void Advance() { ++m_at; }
    std::size_t Column() const { return m_at + 1; }

    // A run of letters, digits and '_' (empty when none starts here).
    std::string_view Word() {
        const std::size_t start = m_at;
        while (m_at < m_line.size() && IsWordChar(m_line[m_at])) ++m_at;
        return m_line.substr(start, m_at - start);
    }
    // The word here if it is this one (any letter case), consumed; else nothing moves.
    bool Keyword(std::string_view lowerWord) {
        const std::size_t start = m_at;
        if (SameWord(Word(), lowerWord)) return true;
        m_at = start;
        return false;
    }

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

    // A gain in dB within the largest a file may give.
    std::optional<CRefusal> Gain(double& db, EqProblem missing) {
        const std::size_t column = Column();
        if (!Number(db)) return CRefusal{missing, column};
        if (std::fabs(db) > kLargestGainDb) return CRefusal{EqProblem::kGainRange, column};
        return std::nullopt;
    }
    // An optional unit after a number ("Hz", "dB").
    void Unit(std::string_view lowerUnit) {
        const std::size_t start = m_at;
        SkipSpaces();
        if (!Keyword(lowerUnit)) m_at = start;
    }
    std::optional<CRefusal> End() {
        SkipSpaces();
        if (!AtEnd()) return CRefusal{EqProblem::kExpectedEnd, Column()};
        return std::nullopt;
    }

private:
    std::string_view m_line;
    std::size_t m_at = 0;
};

// "GraphicEQ: f g; f g; …" with an optional ';' after the last point.
std::optional<CRefusal> ParseGraphicEq(std::string_view line, std::vector<Point>& points) {
    CScanner scan(line, 10);  // after "GraphicEQ:"
    for (;;) {
        scan.SkipSpaces();
        if (scan.AtEnd()) break;
        Point p{};
        const std::size_t column = scan.Column();
        if (!scan.Number(p.hz)) return CRefusal{EqProblem::kExpectedFrequency, column};
        if (!(p.hz > 0)) return CRefusal{EqProblem::kFrequencyNotPositive, column};
        if (!points.empty() && !(p.hz > points.back().hz)) return CRefusal{EqProblem::kFrequenciesNotRising, column};
        const std::size_t beforeGap = scan.Column();
        scan.SkipSpaces();
        if (scan.Column() == beforeGap) return CRefusal{EqProblem::kExpectedGain, scan.Column()};
        if (auto refused = scan.Gain(p.db, EqProblem::kExpectedGain)) return refused;
        points.push_back(p);
        scan.SkipSpaces();
        if (scan.AtEnd()) break;
        if (scan.Peek() != ';') return CRefusal{EqProblem::kExpectedSemicolon, scan.Column()};
        scan.Advance();
    }
    if (points.empty()) return CRefusal{EqProblem::kNoPoints};
    return std::nullopt;
}

// Ten numbers separated by spaces, or by one ',' or ';' with spaces around it.
std::optional<CRefusal> ParseTenGains(std::string_view line, std::array<double, kBands>& gains) {
    CScanner scan(line);
    int count = 0;
    scan.SkipSpaces();
    while (!scan.AtEnd()) {
        if (count == kBands) return CRefusal{EqProblem::kTooManyGains, scan.Column()};
        if (auto refused = scan.Gain(gains[count], EqProblem::kExpectedGain)) return refused;
        ++count;
        const std::size_t afterNumber = scan.Column();
        scan.SkipSpaces();
        if (scan.Peek() == ',' || scan.Peek() == ';') {
            scan.Advance();
            scan.SkipSpaces();
            if (scan.AtEnd()) return CRefusal{EqProblem::kExpectedGain, scan.Column()};
        } else if (!scan.AtEnd() && scan.Column() == afterNumber) {
            return CRefusal{EqProblem::kExpectedSeparator, scan.Column()};
        }
    }
    if (count != kBands) return CRefusal{EqProblem::kGainCount, 0, std::to_string(count)};
    return std::nullopt;
}

// "Preamp: -6.1 dB".
std::optional<CRefusal> ParsePreamp(std::string_view line, double& db) {
    CScanner scan(line, 7);  // after "Preamp:"
    scan.SkipSpaces();
    if (auto refused = scan.Gain(db, EqProblem::kExpectedGain)) return refused;
    scan.Unit("db");
    return scan.End();
}

// "Filter N: ON PK Fc 31 Hz Gain 5.2 dB Q 1.41"; the number is optional. A
// filter switched OFF, or of type None, gives no filter.
std::optional<CRefusal> ParseFilter(std::string_view line, std::optional<EqFilter>& filter) {
    CScanner scan(line, 6);  // after "Filter"
    scan.SkipSpaces();
    while (IsDigit(scan.Peek())) scan.Advance();
    scan.SkipSpaces();
    if (scan.Peek() != ':') return CRefusal{EqProblem::kExpectedColon, scan.Column()};
    scan.Advance();
    scan.SkipSpaces();
    const std::size_t switchColumn = scan.Column();
    const std::string_view state = scan.Word();
    if (SameWord(state, "off")) return std::nullopt;
    if (!SameWord(state, "on")) return CRefusal{EqProblem::kExpectedOnOff, switchColumn};

    scan.SkipSpaces();
    const std::size_t typeColumn = scan.Column();
    const std::string_view type = scan.Word();
    EqFilter f{EqFilterType::kPeak, 0, 0, 0};
    if (SameWord(type, "none")) return std::nullopt;
    if (SameWord(type, "pk"))
        f.type = EqFilterType::kPeak;
    else if (SameWord(type, "lsc") || SameWord(type, "ls"))
        f.type = EqFilterType::kLowShelf;
    else if (SameWord(type, "hsc") || SameWord(type, "hs"))
        f.type = EqFilterType::kHighShelf;
    else
        return CRefusal{EqProblem::kFilterType, typeColumn, std::string(type)};

    scan.SkipSpaces();
    const std::size_t fcColumn = scan.Column();
    if (!scan.Keyword("fc")) return CRefusal{EqProblem::kExpectedFc, fcColumn};
    scan.SkipSpaces();
    const std::size_t hzColumn = scan.Column();
    if (!scan.Number(f.hz)) return CRefusal{EqProblem::kExpectedFc, hzColumn};
    if (!(f.hz > 0 && f.hz < kFilterSampleRate / 2)) return CRefusal{EqProblem::kFilterFrequencyRange, hzColumn};
    scan.Unit("hz");

    scan.SkipSpaces();
    const std::size_t gainColumn = scan.Column();
    if (!scan.Keyword("gain")) return CRefusal{EqProblem::kExpectedFilterGain, gainColumn};
    scan.SkipSpaces();
    if (auto refused = scan.Gain(f.db, EqProblem::kExpectedFilterGain)) return refused;
    scan.Unit("db");

    scan.SkipSpaces();
    const std::size_t qColumn = scan.Column();
    if (scan.Keyword("q")) {
        scan.SkipSpaces();
        const std::size_t valueColumn = scan.Column();
        if (!scan.Number(f.q)) return CRefusal{EqProblem::kExpectedQ, valueColumn};
        if (!(f.q >= kSmallestQ && f.q <= kLargestQ)) return CRefusal{EqProblem::kQRange, valueColumn};
    } else if (f.type == EqFilterType::kPeak) {
        return CRefusal{EqProblem::kExpectedQ, qColumn};
    } else {
        f.q = kShelfQ;
    }
    if (auto refused = scan.End()) return refused;
    filter = f;
    return std::nullopt;
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

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 after its byte-order mark, as UTF-8. A lone surrogate or an odd last
// byte becomes U+FFFD: such a character can stand only in a comment.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? static_cast<char32_t>(first << 8 | second) : static_cast<char32_t>(second << 8 | first);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
    return out;
}

// Each filter at exactly one of the ten centres, all peaks: the ten-band form,
// whose gains are the bands' own.
bool TenBandGains(const std::vector<EqFilter>& filters, std::array<double, kBands>& gains) {
    if (filters.size() != static_cast<std::size_t>(kBands)) return false;
    for (int band = 0; band < kBands; ++band) {
        int found = 0;
        for (const EqFilter& f : filters) {
            if (f.type != EqFilterType::kPeak || f.hz != kBandFrequencies[band]) continue;
            gains[band] = f.db;
            ++found;
        }
        if (found != 1) return false;
    }
    return true;
}

// The ten gains to slider positions: rounded to the steps; moved as a whole by
// the fewest steps that make them fit when their span fits; then clamped.
bool Reduce(const std::array<double, kBands>& gains, EqImport& result) {
    std::array<double, kBands> steps{};
    for (int band = 0; band < kBands; ++band) {
        if (!std::isfinite(gains[band])) return false;
        steps[band] = std::round(gains[band] / kStepDb);
    }
    const auto [lo, hi] = std::minmax_element(steps.begin(), steps.end());
    const double top = -kBandMin;  // +12 dB in steps
    const double bottom = -kBandMax;
    double shift = 0;
    if (*hi - *lo <= top - bottom) {
        if (*hi > top) shift = top - *hi;
        if (*lo < bottom) shift = bottom - *lo;
    }
    // Gains a file can give are bounded, so the shift fits an int by far;
    // this keeps the conversion defined whatever the sums become.
    if (std::fabs(shift) > 1e8) shift = 0;
    result.shiftSteps = static_cast<int>(shift);
    result.clamped = 0;
    for (int band = 0; band < kBands; ++band) {
        double s = steps[band] + shift;
        if (s > top || s < bottom) {
            s = s > top ? top : bottom;
            ++result.clamped;
        }
        result.positions[band] = -static_cast<int>(s);  // positions are negated: -20 is +12 dB
    }
    return true;
}

// One decimal: tenths as "-1.8", "12", "0.6".
std::string Tenths(int tenths) {
    const int whole = tenths / 10;
    const int fraction = tenths % 10 < 0 ? -(tenths % 10) : tenths % 10;
    char text[32];
    if (fraction == 0)
        std::snprintf(text, sizeof text, "%d", whole);
    else
        std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 && whole == 0 ? "-" : "", whole, fraction);
    return text;
}

EqImport Refused(EqProblem problem, std::size_t line, std::size_t column = 0, std::string detail = {}) {
    EqImport result;
    result.error = {problem, line, column, std::move(detail)};
    return result;
}

}  // namespace

double FilterResponseDb(const EqFilter& filter, double hz) {
    const double pi = 3.14159265358979323846;
    const double w0 = 2 * pi * filter.hz / kFilterSampleRate;
    const double cosW0 = std::cos(w0);
    const double alpha = std::sin(w0) / (2 * filter.q);
    const double a = std::pow(10.0, filter.db / 40);
    double b0 = 0, b1 = 0, b2 = 0, a0 = 0, a1 = 0, a2 = 0;
    switch (filter.type) {
        case EqFilterType::kPeak:
            b0 = 1 + alpha * a;
            b1 = -2 * cosW0;
            b2 = 1 - alpha * a;
            a0 = 1 + alpha / a;
            a1 = -2 * cosW0;
            a2 = 1 - alpha / a;
            break;
        case EqFilterType::kLowShelf: {
            const double root = 2 * std::sqrt(a) * alpha;
            b0 = a * ((a + 1) - (a - 1) * cosW0 + root);
            b1 = 2 * a * ((a - 1) - (a + 1) * cosW0);
            b2 = a * ((a + 1) - (a - 1) * cosW0 - root);
            a0 = (a + 1) + (a - 1) * cosW0 + root;
            a1 = -2 * ((a - 1) + (a + 1) * cosW0);
            a2 = (a + 1) + (a - 1) * cosW0 - root;
            break;
        }
        case EqFilterType::kHighShelf: {
            const double root = 2 * std::sqrt(a) * alpha;
            b0 = a * ((a + 1) + (a - 1) * cosW0 + root);
            b1 = -2 * a * ((a - 1) + (a + 1) * cosW0);
            b2 = a * ((a + 1) + (a - 1) * cosW0 - root);
            a0 = (a + 1) - (a - 1) * cosW0 + root;
            a1 = 2 * ((a - 1) - (a + 1) * cosW0);
            a2 = (a + 1) - (a - 1) * cosW0 - root;
            break;
        }
    }
    const double w = 2 * pi * hz / kFilterSampleRate;
    const std::complex<double> z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2 * w);
    const double numerator = std::abs(b0 + b1 * z1 + b2 * z2);
    const double denominator = std::abs(a0 + a1 * z1 + a2 * z2);
    // A response of exactly nothing (or a pole met) would be an infinite
    // number of dB; far beyond any gain a file may give is as good.
    constexpr double kFloor = 1e-300;
    return 20 * std::log10(std::max(numerator, kFloor) / std::max(denominator, kFloor));
}

EqImport ParseEqualizerText(std::string_view bytes) {
    std::string decoded;
    std::string_view text = bytes;
    if (text.size() >= 2 && (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")) {
        decoded = Utf16ToUtf8(text.substr(2), text[0] == '\xFE');
        text = decoded;
    } else if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }

    double preamp = 0;
    std::size_t preampLine = 0;
    std::vector<Point> curve;
    std::size_t curveLine = 0;
    std::vector<EqFilter> filters;
    std::size_t filterLine = 0;
    std::array<double, kBands> tenGains{};
    std::size_t tenGainsLine = 0;

    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        if (line.find('\0') != std::string_view::npos) return Refused(EqProblem::kNotText, lineNumber);

        std::optional<CRefusal> refused;
        if (StartsWithNoCase(line, "graphiceq:")) {
            if (curveLine) return Refused(EqProblem::kSecondGraphicEq, lineNumber);
            if (tenGainsLine) return Refused(EqProblem::kMixedForms, lineNumber);
            refused = ParseGraphicEq(line, curve);
            curveLine = lineNumber;
        } else if (StartsWithNoCase(line, "preamp:")) {
            double db = 0;
            refused = ParsePreamp(line, db);
            preamp += db;  // several gain stages add up, as in Equalizer APO
            preampLine = lineNumber;
        } else if (StartsWithNoCase(line, "filter") && (line.size() == 6 || !IsWordChar(line[6]) || IsDigit(line[6]))) {
            if (tenGainsLine) return Refused(EqProblem::kMixedForms, lineNumber);
            std::optional<EqFilter> filter;
            refused = ParseFilter(line, filter);
            if (filter) filters.push_back(*filter);
            filterLine = lineNumber;
        } else if (IsDigit(line.front()) || line.front() == '-' || line.front() == '+' || line.front() == '.') {
            if (tenGainsLine) return Refused(EqProblem::kSecondTenGains, lineNumber);
            if (curveLine || filterLine) return Refused(EqProblem::kMixedForms, lineNumber);
            refused = ParseTenGains(line, tenGains);
            tenGainsLine = lineNumber;
        } else {
            return Refused(EqProblem::kUnknownLine, lineNumber);
        }
        if (refused) return Refused(refused->problem, lineNumber, refused->column, refused->detail);
    }

    EqImport result;
    std::array<double, kBands> gains{};
    if (tenGainsLine) {
        result.form = EqForm::kTenGains;
        gains = tenGains;
    } else if (!curveLine && TenBandGains(filters, gains)) {
        result.form = EqForm::kTenBandFilters;
    } else if (curveLine || filterLine) {
        result.form = filterLine ? EqForm::kParametric : EqForm::kGraphicEq;
        for (int band = 0; band < kBands; ++band) {
            const double hz = kBandFrequencies[band];
            gains[band] = curveLine ? CurveAt(curve, hz) : 0;
            for (const EqFilter& f : filters) gains[band] += FilterResponseDb(f, hz);
        }
    } else if (preampLine) {
        return Refused(EqProblem::kPreampAlone, preampLine);
    } else {
        return Refused(EqProblem::kNoData, 0);
    }
    for (double& gain : gains) gain += preamp;
    if (!Reduce(gains, result)) return Refused(EqProblem::kNoResponse, 0);
    result.ok = true;
    return result;
}

std::string DescribeEqError(const EqError& error, bool chinese) {
    std::string what;
    const std::string& d = error.detail;
    switch (error.problem) {
        case EqProblem::kNone: return {};
        case EqProblem::kNotText: what = chinese ? "不是文本文件" : "not a text file"; break;
        case EqProblem::kNoData: what = chinese ? "没有均衡器数据" : "no equalizer data"; break;
        case EqProblem::kUnknownLine: what = chinese ? "不是均衡器数据行" : "not a line of equalizer data"; break;
        case EqProblem::kPreampAlone:
            what = chinese ? "只有 Preamp 行，没有曲线" : "a Preamp line but no curve";
            break;
        case EqProblem::kSecondGraphicEq: what = chinese ? "第二行 GraphicEQ" : "a second GraphicEQ line"; break;
        case EqProblem::kSecondTenGains: what = chinese ? "第二行十个增益" : "a second line of ten gains"; break;
        case EqProblem::kMixedForms:
            what = chinese ? "十个增益不能与 GraphicEQ 行或 Filter 行同时使用"
                           : "ten gains cannot be combined with GraphicEQ or Filter lines";
            break;
        case EqProblem::kExpectedFrequency:
            what = chinese ? "应为以 Hz 为单位的频率" : "expected a frequency in Hz";
            break;
        case EqProblem::kFrequencyNotPositive:
            what = chinese ? "频率必须大于 0 Hz" : "a frequency must be above 0 Hz";
            break;
        case EqProblem::kFilterFrequencyRange:
            what = chinese ? "滤波器频率必须在 0 到 24000 Hz 之间"
                           : "a filter's frequency must lie between 0 and 24000 Hz";
            break;
        case EqProblem::kFrequenciesNotRising:
            what = chinese ? "各点频率必须递增" : "frequencies must rise from point to point";
            break;
        case EqProblem::kExpectedGain: what = chinese ? "应为以 dB 为单位的增益" : "expected a gain in dB"; break;
        case EqProblem::kGainRange:
            what = chinese ? "增益必须在 ±1000 dB 以内" : "a gain must lie within ±1000 dB";
            break;
        case EqProblem::kExpectedSemicolon:
            what = chinese ? "各点之间应为“;”" : "expected ';' between points";
            break;
        case EqProblem::kNoPoints:
            what = chinese ? "GraphicEQ 行中没有数据点" : "the GraphicEQ line holds no points";
            break;
        case EqProblem::kTooManyGains: what = chinese ? "增益多于十个" : "more than ten gains"; break;
        case EqProblem::kExpectedSeparator:
            what = chinese ? "增益之间应为空格、“,”或“;”" : "expected a space, ',' or ';' between gains";
            break;
        case EqProblem::kGainCount:
            what = chinese ? "应为十个增益，实际为 " + d + " 个" : "expected ten gains, found " + d;
            break;
        case EqProblem::kExpectedColon:
            what = chinese ? "Filter 及其编号之后应为“:”" : "expected ':' after Filter and its number";
            break;
        case EqProblem::kExpectedOnOff: what = chinese ? "应为 ON 或 OFF" : "expected ON or OFF"; break;
        case EqProblem::kFilterType:
            if (d.empty())
                what = chinese ? "应为滤波器类型 PK、LSC、HSC、LS 或 HS"
                               : "expected a filter type: PK, LSC, HSC, LS or HS";
            else
                what = chinese ? "不能读取滤波器类型 " + d + "（可读取 PK、LSC、HSC、LS 和 HS）"
                               : "filter type " + d + " is not read (PK, LSC, HSC, LS and HS are)";
            break;
        case EqProblem::kExpectedFc:
            what = chinese ? "应为 Fc 和以 Hz 为单位的频率" : "expected Fc and a frequency in Hz";
            break;
        case EqProblem::kExpectedFilterGain:
            what = chinese ? "应为 Gain 和以 dB 为单位的增益" : "expected Gain and a gain in dB";
            break;
        case EqProblem::kExpectedQ: what = chinese ? "应为 Q 及其数值" : "expected Q and its value"; break;
        case EqProblem::kQRange:
            what = chinese ? "Q 必须在 0.001 到 1000 之间" : "Q must lie between 0.001 and 1000";
            break;
        case EqProblem::kExpectedEnd: what = chinese ? "此处应为行尾" : "expected the end of the line"; break;
        case EqProblem::kNoResponse:
            what = chinese ? "无法计算滤波器的响应" : "the filters' response cannot be computed";
            break;
    }
    std::string where;
    if (error.line != 0) {
        if (chinese) {
            where = "第 " + std::to_string(error.line) + " 行";
            if (error.column != 0) where += "第 " + std::to_string(error.column) + " 列";
            where += "：";
        } else {
            where = "line " + std::to_string(error.line);
            if (error.column != 0) where += ", column " + std::to_string(error.column);
            where += ": ";
        }
    }
    const char* forms = chinese ? "（可读取的格式：一行 GraphicEQ；一行十个以 dB 为单位的增益；类型为 PK、LSC、HSC、"
                                  "LS 或 HS 并带 Fc、Gain 和 Q 的 Filter 行，可另带 Preamp 行）"
                                : " (the forms read: a GraphicEQ line; a line of ten gains in dB; Filter lines of "
                                  "type PK, LSC, HSC, LS or HS with Fc, Gain and Q, with or without a Preamp line)";
    return where + what + forms;
}

std::vector<std::string> DescribeEqFit(const EqImport& import, bool chinese) {
    std::vector<std::string> said;
    if (import.shiftSteps != 0) {
        const std::string db = Tenths(std::abs(import.shiftSteps) * 6);
        const bool down = import.shiftSteps < 0;
        said.push_back(chinese ? std::string("整条曲线") + (down ? "下移 " : "上移 ") + db +
                                     " dB，以适应均衡器的 ±12 dB 范围，形状不变"
                               : std::string("the curve was moved ") + (down ? "down" : "up") + " by " + db +
                                     " dB to fit the equalizer's ±12 dB, its shape kept");
    }
    if (import.clamped > 0) {
        const std::string n = std::to_string(import.clamped);
        said.push_back(chinese ? n + " 个频段超出 12 dB，已限制在 12 dB"
                               : n + (import.clamped == 1 ? " band was" : " bands were") +
                                     " beyond 12 dB and clamped to it");
    }
    return said;
}

std::string FormatGraphicEq(const BandPositions& positions) {
    std::string out = "GraphicEQ:";
    for (int band = 0; band < kBands; ++band) {
        // -0.6 × position in tenths is an integer: print it exactly.
        char point[64];
        std::snprintf(point, sizeof point, "%s %d %s", band ? ";" : "", static_cast<int>(kBandFrequencies[band]),
                      Tenths(positions[band] * -6).c_str());
        out += point;
    }
    return out;
}

}  // namespace effects
