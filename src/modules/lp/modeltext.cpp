#include "modules/lp/modeltext.h"

#include "common/numformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace tarvik::lp {

namespace {

constexpr const char* kNotice = "Tarvik educational LP/IP solver";
constexpr int kWrapColumn = 75;

bool IsLetter(int c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// A character as a message can show it: control characters (a NUL among
// them) as their code, so that the message never hides or cuts them.
std::string VisibleCharacter(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 32 && u != 127) || c == '\t') return std::string(1, c);
    char code[8];
    std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(u));
    return code;
}

std::string FixedWidth(double v, int decimals, int width) {
    std::string s = tarvik::FormatFixed(v, decimals);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
    return s;
}

// Writes the echo form of a value into buf (at least 32 bytes) and returns its
// length, or 0 when the general formatter has to decide.
int FastEchoNumber(double value, char* buf) {
    double scaled = value * 10000.0;
    if (!(std::fabs(scaled) < 9e15)) return 0;
    double whole = std::trunc(scaled);
    double frac = std::fabs(scaled - whole);
    if (std::fabs(frac - 0.5) <= 1e-6) return 0; // a near tie: let the exact digits decide
    long long units = static_cast<long long>(whole) + (frac > 0.5 ? (scaled < 0 ? -1 : 1) : 0);
    bool negative = units < 0;
    unsigned long long u =
        negative ? 0ULL - static_cast<unsigned long long>(units) : static_cast<unsigned long long>(units);
    char digits[24];
    int d = 0;
    unsigned long long ip = u / 10000, fp = u % 10000;
    do {
        digits[d++] = static_cast<char>('0' + ip % 10);
        ip /= 10;
    } while (ip);
    int len = d + 5 + (negative ? 1 : 0);
    int n = 0;
    for (; len + n < 7; ++n) buf[n] = ' ';
    if (negative) buf[n++] = '-';
    while (d) buf[n++] = digits[--d];
    buf[n++] = '.';
    buf[n++] = static_cast<char>('0' + fp / 1000);
    buf[n++] = static_cast<char>('0' + fp / 100 % 10);
    buf[n++] = static_cast<char>('0' + fp / 10 % 10);
    buf[n++] = static_cast<char>('0' + fp % 10);
    return n;
}

// A magnitude as a message shows it: plain digits where 15 suffice.
std::string NumberText(double value) {
    return tarvik::FormatGeneral(value, 15);
}

// "Number %s is too large (at most %s).", the limit rounded down to 6 digits
// so that every number it allows is accepted.
std::string TooLarge(const std::string& number, double limit) {
    double shown = limit;
    if (limit > 0) {
        const double unit = std::pow(10.0, std::floor(std::log10(limit)) - 5);
        shown = std::floor(limit / unit * (1 + 1e-12)) * unit;
    }
    return "Number " + number + " is too large (at most " + tarvik::FormatGeneral(shown, 15) + ").";
}

enum class Tok { End, Number, Name, Equal, LessEqual, GreaterEqual, Semicolon, Dollar };

class Reader {
public:
    Reader(std::string_view text, Dialect dialect, ReadSink& sink)
        : s_(text), ip_(dialect == Dialect::IP), limits_(ip_ ? kIPNumberLimits : kLPNumberLimits),
          sink_(sink) {}

    void run(ReadOutcome& out) {
        model_ = &out.model;
        echo_ = &out.echo;
        echo_->reserve(s_.size() * 2 + 256);
        if (s_.empty()) {
            errPos_ = 1;
            throw ESyntaxError("No input");
        }
        *echo_ += "KORVEN Version 2.1";
        *echo_ += std::string(ip_ ? 16 : 19, ' ');
        *echo_ += kNotice;
        *echo_ += "\r\n\r\nThe following model was read:\r\n\r\n";
        sink_.line(line_);
        // A byte-order mark is no character of the model.
        pos_ = s_.size() - WithoutByteOrderMark(s_).size();
        readDirection();
        readObjective();
        readConstraints();
        checkBounds();
    }

    long errorPosition() const { return errPos_; }

private:
    // ---- characters --------------------------------------------------------
    bool atEnd() const { return pos_ >= s_.size(); }
    int cur() const {
        if (atEnd()) return -1;
        unsigned char c = static_cast<unsigned char>(s_[pos_]);
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        return c;
    }
    void advance() {
        char c = s_[pos_++];
        if (c == '\r') {
            ++line_;
            sink_.line(line_);
        }
    }
    bool isSeparator() const {
        if (atEnd()) return false;
        char c = s_[pos_];
        return c == ' ' || c == '\r' || (c == '\n' && pos_ > 0 && s_[pos_ - 1] == '\r');
    }
    void skipSeparators() {
        while (isSeparator()) advance();
    }

    [[noreturn]] void fail(const std::string& message) { throw ESyntaxError(message); }
    [[noreturn]] void failAt(long at, const std::string& message) {
        errPos_ = at;
        throw ESyntaxError(message);
    }
    [[noreturn]] void failHere(const std::string& message) {
        errPos_ = static_cast<long>(pos_) + 1;
        throw ESyntaxError(message);
    }

    // Skips separators and comments and notes where the next token starts.
    void skipToToken() {
        for (;;) {
            skipSeparators();
            if (!atEnd() && s_[pos_] == '{') {
                errPos_ = static_cast<long>(pos_) + 1;
                std::size_t close = s_.find('}', pos_);
                if (close == std::string_view::npos)
                    fail(ip_ ? "Comments is not closed" : "Comment not closed");
                while (pos_ <= close) advance();
                continue;
            }
            break;
        }
        errPos_ = static_cast<long>(pos_) + 1;
    }

    // Classifies the next token. Numbers, names and declarations are left
    // unread for their own readers; the other tokens are consumed.
    Tok next() {
        skipToToken();
        int c = cur();
        if (c < 0) return Tok::End;
        if (c == '+' || c == '-' || IsDigit(c)) return Tok::Number;
        if (IsLetter(c)) return Tok::Name;
        switch (c) {
        case '=':
            advance();
            return Tok::Equal;
        case '<':
            advance();
            if (cur() != '=') fail("<= expected");
            advance();
            return Tok::LessEqual;
        case '>':
            advance();
            if (cur() != '=') fail(">= expected");
            advance();
            return Tok::GreaterEqual;
        case ';':
            while (!atEnd() && (s_[pos_] == ';' || isSeparator())) advance();
            return Tok::Semicolon;
        case '$':
            if (ip_) return Tok::Dollar;
            break;
        default:
            break;
        }
        fail("Cannot interpret character " + VisibleCharacter(s_[pos_]));
    }

    std::string readName() {
        // Letters and digits are never line ends, so there is no line to count on the way.
        const std::size_t start = pos_;
        while (IsLetter(cur()) || IsDigit(cur())) ++pos_;
        std::size_t length = pos_ - start;
        if (ip_) length = std::min(length, kIPNameLength);
        std::string name(s_.substr(start, length));
        for (char& c : name)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return name;
    }

    // Reads a signed number at the current character; `firstTerm` picks the
    // message of a failed conversion. `*hadSign` tells whether a sign was read.
    double readNumber(bool firstTerm) {
        numberAt_ = errPos_;
        double sign = 1;
        if (cur() == '+' || cur() == '-') {
            if (cur() == '-') sign = -1;
            advance();
            skipSeparators();
        }
        std::size_t start = pos_;
        while (IsDigit(cur()) || cur() == '.') advance();
        std::string_view text = s_.substr(start, pos_ - start);
        numberNegative_ = sign < 0;
        numberDigits_ = text;
        if (text.empty()) return sign;
        double value = 0;
        lastNumberText_ = text;
        lastNumberFirst_ = firstTerm;
        if (!Convert(text, value)) failNumber();
        if (value > limits_.maxNumber) failAt(numberAt_, TooLarge(std::string(text), limits_.maxNumber));
        return sign * value;
    }

    // A sum of numbers (`value`) beyond the limit, found at `at`.
    void checkSum(double value, long at) {
        if (std::fabs(value) > limits_.maxNumber)
            failAt(at, TooLarge(NumberText(std::fabs(value)), limits_.maxNumber));
    }

    // The number just read made a sum that a double cannot hold, or could not
    // be converted itself.
    [[noreturn]] void failNumber() {
        std::string message = "Number " + std::string(lastNumberText_) + " is not correct";
        if (lastNumberFirst_ || ip_) message += ".";
        fail(message);
    }
    // Adds a term to a coefficient or constant; a sum beyond double range is the
    // fault of the number just read.
    void accumulate(double& sum, double term) {
        double result = sum + term;
        if (!std::isfinite(result)) failNumber();
        sum = result;
    }

    static bool Convert(std::string_view text, double& value) {
        int points = 0, digits = 0;
        bool nonzeroBeforePoint = false;
        for (char c : text) {
            if (c == '.') {
                ++points;
            } else {
                ++digits;
                if (points == 0 && c != '0') nonzeroBeforePoint = true;
            }
        }
        if (points > 1 || digits == 0) return false;
        if (points == 0 && digits <= 15) {
            // Whole numbers are exact in a double up to 15 digits.
            long long whole = 0;
            for (char c : text) whole = whole * 10 + (c - '0');
            value = static_cast<double>(whole);
            return true;
        }
        auto [ptr, ec] =
            std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
        if (ec == std::errc::result_out_of_range) {
            // Too large to hold is an error; too small to hold is zero.
            if (nonzeroBeforePoint) return false;
            value = 0;
            return true;
        }
        if (ec != std::errc() || ptr != text.data() + text.size()) return false;
        return std::isfinite(value);
    }

    // ---- echo --------------------------------------------------------------
    void echoCoefficient(double v, bool later) {
        // Models repeat their coefficients: remember the texts of recent ones.
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        EchoCache& slot = echoCache_[(bits ^ (bits >> 29) ^ (bits >> 47)) & (kEchoCacheSize - 1)];
        if (!slot.used || slot.bits != bits) {
            slot.used = true;
            slot.bits = bits;
            slot.n = FastEchoNumber(v, slot.text);
        }
        // The text goes straight from the cache into the echo (no string on the way).
        std::string slow;
        std::string_view text;
        if (slot.n) {
            text = std::string_view(slot.text, static_cast<std::size_t>(slot.n));
        } else {
            slow = EchoNumber(v);
            text = slow;
        }
        int len = static_cast<int>(text.size());
        if (col_ + len > kWrapColumn) {
            *echo_ += "\r\n      ";
            col_ = 7;
        }
        col_ += len + 1;
        if (later && v > 0) {
            echo_->push_back('+');
            if (text[0] == ' ') {
                text.remove_prefix(1);
            } else {
                col_ += 1;
            }
        }
        echo_->append(text);
        echo_->push_back(' ');
    }
    void echoName(const std::string& name) {
        std::string_view cut = std::string_view(name).substr(0, 10);
        int len = static_cast<int>(cut.size());
        if (col_ + len > kWrapColumn) {
            *echo_ += "\r\n      ";
            col_ = 7;
        }
        col_ += len + 1;
        *echo_ += cut;
        *echo_ += ' ';
    }

    // ---- variables and columns ---------------------------------------------
    enum class Where { Objective, Constraint, Declaration };

    int variable(const std::string& name, Where where) {
        // Rows usually name their variables in the same order: try the one
        // after the last before the table.
        int hint = lastVariable_ + 1;
        if (hint < static_cast<int>(model_->names.size()) && model_->names[hint] == name)
            return lastVariable_ = hint;
        auto it = index_.find(name);
        if (it != index_.end()) return lastVariable_ = it->second;
        return lastVariable_ = createVariable(name, where);
    }
    int createVariable(const std::string& name, Where where) {
        int count = static_cast<int>(model_->names.size());
        if (ip_) {
            if (count >= kIPMaxVariables) {
                fail(where == Where::Objective    ? "Te veel variabelen"
                     : where == Where::Constraint ? "Too many variables"
                                                  : "More variables as possible.");
            }
        } else {
            newColumn(name, ColumnKind::Decision, 0);
            model_->column.push_back(static_cast<int>(model_->columns.size()));
        }
        index_.emplace(name, count);
        model_->names.push_back(name);
        model_->cost.push_back(0);
        model_->costAt.push_back(0);
        model_->integer.push_back(false);
        model_->upper.push_back(-1);
        if (rowSlot_.size() < model_->names.size()) rowSlot_.resize(model_->names.size() + 64, -1);
        sink_.variables(count + 1);
        return count;
    }
    int newColumn(std::string name, ColumnKind kind, int constraint) {
        if (static_cast<int>(model_->columns.size()) >= kLPMaxColumns) fail("Problem too large");
        model_->columns.push_back(ColumnInfo{std::move(name), kind, constraint});
        return static_cast<int>(model_->columns.size());
    }

    // ---- grammar -----------------------------------------------------------
    void readDirection() {
        // Whatever character comes first starts the word, so no token rule applies yet.
        for (;;) {
            skipToToken();
            if (atEnd() || s_[pos_] != ';') break;
            while (!atEnd() && (s_[pos_] == ';' || isSeparator())) advance();
        }
        if (atEnd()) fail("MAX or MIN expected");
        std::string word(1, static_cast<char>(cur()));
        advance();
        while (IsLetter(cur()) || IsDigit(cur())) {
            word.push_back(static_cast<char>(cur()));
            advance();
        }
        if (word == "MAX" || word == "MAXIMIZE") {
            model_->minimize = false;
        } else if (word == "MIN" || word == "MINIMIZE") {
            model_->minimize = true;
        } else {
            fail("MAX or MIN expected");
        }
        *echo_ += ip_ ? "Objective Function:\r\n" : "Objective Function :\r\n";
        *echo_ += model_->minimize ? "   MIN " : "   MAX ";
        col_ = 5;
    }

    void readObjective() {
        bool first = true;
        for (;;) {
            Tok t = next();
            double coef = 1;
            numberNegative_ = false;
            numberDigits_ = {};
            if (t == Tok::Semicolon && !first) break;
            const long at = errPos_;
            if (t == Tok::Number) {
                if (!first && IsDigit(cur())) fail("+ or - expected");
                coef = readNumber(first);
                echoCoefficient(coef, !first);
                if (next() != Tok::Name) fail("Variable expected");
            } else if (t == Tok::Name && first) {
                echoCoefficient(coef, false);
            } else {
                fail("Number expected");
            }
            std::string name = readName();
            echoName(name);
            int v = variable(name, Where::Objective);
            accumulate(model_->cost[v], model_->minimize ? -coef : coef);
            model_->costAt[v] = at;
            sink_.term(0, v, numberNegative_ != model_->minimize, numberDigits_);
            first = false;
        }
        for (std::size_t v = 0; v < model_->cost.size(); ++v) checkSum(model_->cost[v], model_->costAt[v]);
        *echo_ += "\r\nSubject to :";
    }

    void readConstraints() {
        for (;;) {
            Tok t = next();
            while (t == Tok::Semicolon) t = next();
            if (t == Tok::End) break;
            if (t == Tok::Dollar) {
                readDeclaration();
                continue;
            }
            readConstraint(t);
        }
        if (ip_ && model_->constraints.empty()) fail("No conditions stated.");
    }

    void addTerm(int v, double coef, long at) {
        int& slot = rowSlot_[v];
        if (slot < 0) {
            slot = static_cast<int>(row_.terms.size());
            row_.terms.emplace_back(v, coef);
            row_.termAt.push_back(at);
        } else {
            accumulate(row_.terms[slot].second, coef);
            row_.termAt[slot] = at;
        }
    }
    void addConstant(double value, long at) {
        accumulate(row_.rhs, value);
        row_.rhsAt = at;
    }

    bool endsSide(Tok t, bool left) const {
        return left ? (t == Tok::Equal || t == Tok::LessEqual || t == Tok::GreaterEqual)
                    : (t == Tok::Semicolon || t == Tok::End);
    }

    // Reads one side up to what ends it and returns that token.
    Tok readSide(Tok t, bool left) {
        bool first = true;
        double sideSign = left ? 1 : -1;
        for (;;) {
            if (t == Tok::Number) {
                if (!first && IsDigit(cur())) fail("+ or - expected");
                const long at = errPos_;
                double coef = readNumber(first);
                echoCoefficient(coef, !first);
                first = false;
                t = next();
                if (t == Tok::Name) {
                    std::string name = readName();
                    echoName(name);
                    const int v = variable(name, Where::Constraint);
                    addTerm(v, sideSign * coef, at);
                    sink_.term(constraint_, v, numberNegative_ != !left, numberDigits_);
                    t = next();
                    if (endsSide(t, left)) return t;
                    continue;
                }
                addConstant(-sideSign * coef, at);
                sink_.term(constraint_, -1, numberNegative_ != left, numberDigits_);
                if (t == Tok::Number) continue;
                if (endsSide(t, left)) return t;
                fail("Unknown symbol");
            }
            if (t == Tok::Name && first) {
                echoCoefficient(1, false);
                const long at = errPos_;
                std::string name = readName();
                echoName(name);
                const int v = variable(name, Where::Constraint);
                addTerm(v, sideSign, at);
                sink_.term(constraint_, v, !left, {});
                first = false;
                t = next();
                if (endsSide(t, left)) return t;
                continue;
            }
            if (first && endsSide(t, left)) {
                // An empty side is the constant 1.
                echoCoefficient(1, false);
                row_.rhs -= sideSign;
                sink_.term(constraint_, -1, left, {});
                return t;
            }
            fail("Number expected");
        }
    }

    void readConstraint(Tok t) {
        int number = static_cast<int>(model_->constraints.size()) + 1;
        if (ip_) {
            if (number > kIPMaxConstraints) fail("More conditions then allowed");
        } else {
            if (number > kLPMaxConstraints) fail("Problem too large");
            sink_.conditions(number);
        }
        std::string label = std::to_string(number);
        if (label.size() < 4) label.insert(0, 4 - label.size(), ' ');
        *echo_ += "\r\n" + label + ". ";
        col_ = 6;
        row_ = ReadConstraint{};
        constraint_ = number;
        Tok rel = readSide(t, true);
        *echo_ += rel == Tok::LessEqual ? "<= " : rel == Tok::GreaterEqual ? ">= " : "=  ";
        col_ += 3;
        readSide(next(), false);
        row_.relation = rel == Tok::LessEqual      ? Relation::LessEqual
                        : rel == Tok::GreaterEqual ? Relation::GreaterEqual
                                                   : Relation::Equal;
        for (auto& [v, c] : row_.terms) rowSlot_[v] = -1;
        for (std::size_t k = 0; k < row_.terms.size(); ++k) checkSum(row_.terms[k].second, row_.termAt[k]);
        checkSum(row_.rhs, row_.rhsAt);
        if (row_.rhs < 0) {
            sink_.turned(number);
            row_.rhs = -row_.rhs;
            for (auto& term : row_.terms) term.second = -term.second;
            if (row_.relation == Relation::LessEqual) {
                row_.relation = Relation::GreaterEqual;
            } else if (row_.relation == Relation::GreaterEqual) {
                row_.relation = Relation::LessEqual;
            }
        }
        if (ip_) {
            std::size_t nonzeros = 0;
            for (auto& term : row_.terms)
                if (term.second != 0) ++nonzeros;
            if (nonzeros_ + nonzeros > static_cast<std::size_t>(kIPMaxNonzeros)) fail("Matrix is too large");
            nonzeros_ += nonzeros;
        } else {
            switch (row_.relation) {
            case Relation::LessEqual:
                row_.slackColumn = newColumn("Slack" + std::to_string(number), ColumnKind::Slack, number);
                break;
            case Relation::GreaterEqual:
                row_.surplusColumn = newColumn("Surp." + std::to_string(number), ColumnKind::Surplus, number);
                row_.artificialColumn =
                    newColumn("Art." + std::to_string(number), ColumnKind::Artificial, number);
                break;
            case Relation::Equal:
                row_.artificialColumn =
                    newColumn("Art." + std::to_string(number), ColumnKind::Artificial, number);
                break;
            }
        }
        model_->constraints.push_back(std::move(row_));
        if (ip_) sink_.conditions(number);
    }

    void readDeclaration() {
        advance(); // the "$"
        std::string word;
        while (IsLetter(cur())) {
            word.push_back(static_cast<char>(cur()));
            advance();
        }
        bool binary = word == "BINARY";
        if (!binary && word != "INTEGER") fail("Unknown $-option");
        *echo_ += binary ? "\r\n$BINARY  " : "\r\n$INTEGER ";
        int counter = 10;
        bool first = true;
        for (;;) {
            while (!atEnd() && (isSeparator() || s_[pos_] == ',')) advance();
            errPos_ = static_cast<long>(pos_) + 1;
            if (atEnd()) return;
            if (s_[pos_] == ';') {
                *echo_ += "\r\n";
                return;
            }
            if (!IsLetter(cur()) && !IsDigit(cur())) fail("More variables as possible.");
            std::string name = readName();
            int v = variable(name, Where::Declaration);
            model_->integer[v] = true;
            if (binary) model_->upper[v] = 1;
            std::string_view cut = std::string_view(name).substr(0, 10);
            int len = static_cast<int>(cut.size());
            counter += len + 2;
            if (counter > kWrapColumn) {
                *echo_ += "\r\n         ";
                counter = 9 + len;
            } else {
                *echo_ += first ? "  " : ", ";
            }
            *echo_ += cut;
            first = false;
        }
    }

    // The bounds that rows give their variables on their own: the smallest
    // rhs / a over the "<=" and "=" rows without negative coefficients, and 1
    // for binary variables. Such a bound holds at every step of both engines
    // (the LP's phase 1 and branch and bound's repairs included), so the
    // values the engines form from it must stay clear of their infinities.
    void checkBounds() {
        const std::size_t n = model_->names.size();
        std::vector<double> bound(n, std::numeric_limits<double>::infinity());
        std::vector<const ReadConstraint*> boundRow(n, nullptr);
        std::vector<double> boundCoef(n, 0);
        std::vector<long> boundAt(n, 0);
        for (std::size_t v = 0; v < n; ++v)
            if (model_->upper[v] >= 0) bound[v] = model_->upper[v];
        for (const ReadConstraint& c : model_->constraints) {
            if (c.relation == Relation::GreaterEqual) continue;
            bool bounding = true;
            for (const auto& term : c.terms) bounding = bounding && term.second >= 0;
            if (!bounding) continue;
            for (std::size_t k = 0; k < c.terms.size(); ++k) {
                const auto [v, a] = c.terms[k];
                if (a <= 0 || !(c.rhs / a < bound[v])) continue;
                bound[v] = c.rhs / a;
                boundRow[v] = &c;
                boundCoef[v] = a;
                boundAt[v] = c.rhsAt > 0 ? c.rhsAt : c.termAt[k];
            }
        }
        // The first fault in the text is the one reported.
        long firstAt = std::numeric_limits<long>::max();
        std::string message;
        auto fault = [&](long at, std::string text) {
            if (at < firstAt) {
                firstAt = at;
                message = std::move(text);
            }
        };
        for (std::size_t v = 0; v < n; ++v) {
            if (!boundRow[v] || bound[v] <= limits_.maxValue) continue;
            // The right-hand side that lets the variable go so far.
            const ReadConstraint& c = *boundRow[v];
            fault(boundAt[v], TooLarge(NumberText(c.rhs), boundCoef[v] * limits_.maxValue));
        }
        for (const ReadConstraint& c : model_->constraints)
            for (std::size_t k = 0; k < c.terms.size(); ++k) {
                const auto [v, a] = c.terms[k];
                if (std::isfinite(bound[v]) && std::fabs(a) * bound[v] > limits_.maxProduct)
                    fault(c.termAt[k], TooLarge(NumberText(std::fabs(a)), limits_.maxProduct / bound[v]));
            }
        if (limits_.maxObjective > 0) {
            // The objective's largest value, term by term in the order written.
            std::vector<std::size_t> order;
            for (std::size_t v = 0; v < n; ++v)
                if (model_->cost[v] != 0 && std::isfinite(bound[v])) order.push_back(v);
            std::sort(order.begin(), order.end(),
                      [&](std::size_t a, std::size_t b) { return model_->costAt[a] < model_->costAt[b]; });
            double sum = 0;
            for (std::size_t v : order) {
                const double term = std::fabs(model_->cost[v]) * bound[v];
                if (sum + term > limits_.maxObjective) {
                    fault(model_->costAt[v], TooLarge(NumberText(std::fabs(model_->cost[v])),
                                                      (limits_.maxObjective - sum) / bound[v]));
                    break;
                }
                sum += term;
            }
        }
        if (!message.empty()) failAt(firstAt, message);
    }

    std::string_view s_;
    bool ip_;
    NumberLimits limits_;
    ReadSink& sink_;
    std::size_t pos_ = 0;
    long errPos_ = 0;
    int line_ = 1; // the line the reader stands on, counted from 1
    int col_ = 0;
    ReadModel* model_ = nullptr;
    std::string* echo_ = nullptr;
    std::unordered_map<std::string, int> index_;
    struct EchoCache {
        bool used = false;
        std::uint64_t bits = 0;
        int n = 0;
        char text[32];
    };
    static constexpr std::size_t kEchoCacheSize = 256;
    std::vector<EchoCache> echoCache_ = std::vector<EchoCache>(kEchoCacheSize);
    std::vector<int> rowSlot_;
    int lastVariable_ = -1;
    std::string_view lastNumberText_;
    bool lastNumberFirst_ = false;
    long numberAt_ = 0;
    // The sign and digits of the number read last, for the sink's exact terms.
    bool numberNegative_ = false;
    std::string_view numberDigits_;
    int constraint_ = 0; // the constraint being read
    ReadConstraint row_;
    std::size_t nonzeros_ = 0;
};

} // namespace

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

std::string EchoNumber(double value) {
    char buf[32];
    if (int n = FastEchoNumber(value, buf)) return std::string(buf, static_cast<std::size_t>(n));
    return FixedWidth(value, 4, 7);
}

ReadOutcome ReadModelText(std::string_view text, Dialect dialect, ReadSink& sink) {
    ReadOutcome out;
    Reader reader(text, dialect, sink);
    try {
        reader.run(out);
        out.success = true;
    } catch (const ESyntaxError& e) {
        out.success = false;
        out.message = e.what();
        out.errorPosition = reader.errorPosition();
        out.model = ReadModel{};
        sink.errorLine("Syntax error: " + out.message);
    }
    return out;
}

} // namespace tarvik::lp
