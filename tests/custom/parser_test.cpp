#include "custom/parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <limits>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "platform/error.h"

namespace quorvane {
namespace {

static_assert(std::numeric_limits<long double>::digits == 64, "expressions compute in the 80-bit format");

// Compares the ten bytes of the 80-bit format (the rest of a long double is
// padding), so that a wrong last bit or a negative zero shows.
testing::AssertionResult SameExtended(long double actual, long double expected) {
    if (std::memcmp(&actual, &expected, 10) == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << std::setprecision(22) << actual << " is not bit for bit " << expected;
}

// The argument, hidden from the compiler, so that the library functions of
// the expected values run in the C library as the parser's do instead of
// being folded at compile time with another last digit.
long double AtRunTime(long double value) {
    volatile long double hidden = value;
    return hidden;
}

// b ^ x as expressions compute it: through ln and exp.
long double PowerThroughLn(long double base, long double exponent) {
    return std::exp(AtRunTime(exponent) * std::log(AtRunTime(base)));
}

std::string Repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

// A parser that records the syntax errors it reports and the names it asks
// for, together with what Failed and ResultValue held at each event, and that
// knows the variables it is given.
class RecordingParser {
public:
    explicit RecordingParser(std::map<std::string, long double> known = {}) : variables(std::move(known)) {
        parser.OnParseError = [this](TMathParser& sender, int code) {
            EXPECT_EQ(&sender, &parser);
            parseErrors.push_back(code);
            failedAtEvent = sender.Failed;
            resultAtEvent = sender.ResultValue;
        };
        parser.OnGetVar = [this](TMathParser& sender, std::string_view name, long double& value, bool& found) {
            EXPECT_EQ(&sender, &parser);
            EXPECT_FALSE(found);
            namesAsked.emplace_back(name);
            failedAtEvent = sender.Failed;
            resultAtEvent = sender.ResultValue;
            if (const auto known = variables.find(std::string(name)); known != variables.end()) {
                value = known->second;
                found = true;
            }
        };
    }
    RecordingParser(const RecordingParser&) = delete;
    RecordingParser& operator=(const RecordingParser&) = delete;

    void Evaluate(const std::string& text) {
        parseErrors.clear();
        namesAsked.clear();
        parser.ParseString = text;
        parser.Evaluate();
    }

    TMathParser parser;
    std::map<std::string, long double> variables;
    std::vector<int> parseErrors;
    std::vector<std::string> namesAsked;
    bool failedAtEvent = false;
    long double resultAtEvent = 0;
};

struct ValueCase {
    std::string text;
    long double expected;
};

void ExpectValues(const std::vector<ValueCase>& cases) {
    RecordingParser recorder;
    for (const ValueCase& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        recorder.Evaluate(testCase.text);
        EXPECT_FALSE(recorder.parser.Failed);
        EXPECT_EQ(recorder.parser.ErrorCode, 0);
        EXPECT_TRUE(recorder.parseErrors.empty());
        EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, testCase.expected));
    }
}

TEST(ParserValues, PrecedenceAndGrouping) {
    ExpectValues({
        {"1+2*3", 7},
        {"(1+2)*3", 9},
        {"8/4/2", 1},
        {"1-2-3", -4},
        {"7/2", 3.5L},
        {"1/3", 1.0L / 3},
        {"0.1+0.2*0.3", 0.1L + 0.2L * 0.3L},
        {"2^3^2", PowerThroughLn(2, PowerThroughLn(3, 2))},
        {"(2^3)^2", PowerThroughLn(PowerThroughLn(2, 3), 2)},
        {"2*3^2", 2 * PowerThroughLn(3, 2)},
        {"2^0.5", PowerThroughLn(2, 0.5L)},
        {"2^-2", PowerThroughLn(2, -2)},
        {"-5", -5},
        {"-2*3", -6},
        {"2*-3", -6},
        {"6/-4", -1.5L},
        {"-(-1)", 1},
        {"1--1", 2},
        {"-SQR(3)", -9},
        {"SQR(-3)", 9},
        {"  1 +  2 * 3  ", 7},
    });
}

TEST(ParserValues, PowersAreCloseToTheirExactValues) {
    RecordingParser recorder;
    const std::vector<ValueCase> cases = {{"2^3^2", 512}, {"2^0.5", std::sqrt(2.0L)}, {"2^-2", 0.25L}};
    for (const ValueCase& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        recorder.Evaluate(testCase.text);
        EXPECT_NEAR(static_cast<double>(recorder.parser.ResultValue), static_cast<double>(testCase.expected),
                    1e-15 * static_cast<double>(testCase.expected));
    }
}

TEST(ParserValues, Functions) {
    ExpectValues({
        {"sin(0)", 0},
        {"SIN (0)", 0},
        {"Sin(1)", std::sin(AtRunTime(1.0L))},
        {"COS(1)", std::cos(AtRunTime(1.0L))},
        {"ATAN(1)*4", std::numbers::pi_v<long double>},
        {"ATAN(1E4000)", std::atan(AtRunTime(1E4000L))},
        {"EXP(1)", std::numbers::e_v<long double>},
        {"LN(2)", std::log(AtRunTime(2.0L))},
        {"SQRT(2)", std::sqrt(AtRunTime(2.0L))},
        {"SQR(1.5)", 2.25L},
        {"ABS(-2.5)", 2.5L},
        {"abs(2.5)", 2.5L},
        {"ROUND(2.5)", 2},
        {"ROUND(3.5)", 4},
        {"ROUND(-2.5)", -2},
        {"ROUND(2.5000001)", 3},
        {"ROUND(-0.4)", 0},  // a whole number: no negative zero
        {"TRUNC(-2.7)", -2},
        {"TRUNC(2.9999)", 2},
        {"TRUNC(-0.5)", 0},
        {"SIN(SQRT(EXP(LN(4))))", std::sin(std::sqrt(std::exp(std::log(AtRunTime(4.0L)))))},
    });
}

TEST(ParserValues, FunctionDomainsIncludeTheirBounds) {
    ExpectValues({
        {"COS(9E18)", std::cos(AtRunTime(9E18L))},
        {"COS(-9E18)", std::cos(AtRunTime(-9E18L))},
        {"SIN(9E18)", std::sin(AtRunTime(9E18L))},
        {"SIN(-9E18)", std::sin(AtRunTime(-9E18L))},
        {"EXP(11356)", std::exp(AtRunTime(11356.0L))},
        {"EXP(-11356)", std::exp(AtRunTime(-11356.0L))},
        {"ROUND(1E9)", 1E9L},
        {"ROUND(-1E9)", -1E9L},
        {"TRUNC(1E9)", 1E9L},
        {"TRUNC(-1E9)", -1E9L},
        {"SQR(1E2466)", 1E2466L * 1E2466L},
        {"SQR(-1E2466)", 1E2466L * 1E2466L},
        {"SQRT(0)", 0},
        {"LN(1E-4940)", std::log(AtRunTime(1E-4940L))},
        {"10^4931", PowerThroughLn(10, 4931)},
        {"10^-4931", PowerThroughLn(10, -4931)},
    });
}

TEST(ParserValues, Numerals) {
    ExpectValues({
        {"1E5", 100000},
        {"1e5", 100000},
        {"1E+2", 100},
        {"1E-0003", 0.001L},
        {"1.5E3", 1500},
        {".5+1", 1.5L},
        {"5.", 5},
        {"00012", 12},
        {"0.1", 0.1L},
        {"3.14159265358979323846", 3.14159265358979323846L},
        {"123456789012345678901234567890", 123456789012345678901234567890.0L},
        {"0.000000000000000000000000000000123", 0.000000000000000000000000000000123L},
        {"1E4931", 1E4931L},
        {"1.18973149535723176502E4932", std::numeric_limits<long double>::max()},
        {"1E-4940", 1E-4940L},  // subnormal, without an error
        {"1E-9999", 0},
        {"0E9999", 0},
        {"1" + std::string(79, '0'), 1E79L},
    });
}

// Numerals with few digits and a small decimal scale take a short way through
// one multiply or divide; every numeral must convert as the C library's
// correctly rounded conversion does.
TEST(ParserValues, NumeralsConvertAsTheCLibraryDoes) {
    std::mt19937 random(20240611);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    RecordingParser recorder;
    for (int i = 0; i < 20000; ++i) {
        std::string numeral;
        const int digitCount = between(1, 24);
        const int pointAt = between(-1, digitCount);  // -1: no point
        for (int digit = 0; digit < digitCount; ++digit) {
            if (digit == pointAt) numeral += '.';
            numeral += static_cast<char>('0' + between(digit == 0 ? 1 : 0, 9));
        }
        if (pointAt == digitCount) numeral += '.';
        if (between(0, 1) == 1) {
            const int exponent = between(0, 3) == 0 ? between(-4900, 4900) : between(-40, 40);
            numeral += between(0, 1) == 1 ? 'E' : 'e';
            if (exponent < 0 || between(0, 1) == 1) numeral += exponent < 0 ? '-' : '+';
            numeral += std::to_string(std::abs(exponent));
        }
        SCOPED_TRACE(numeral);
        recorder.Evaluate(numeral);
        ASSERT_FALSE(recorder.parser.Failed);
        ASSERT_TRUE(SameExtended(recorder.parser.ResultValue, std::strtold(numeral.c_str(), nullptr)));
    }
}

TEST(ParserValues, LongTextsAreScannedToTheEnd) {
    const std::string sum = "1" + Repeated("+1", 39999);  // longer than 65535 characters
    ASSERT_GT(sum.size(), 65535u);
    ExpectValues({
        {sum, 40000},
        {std::string(70000, ' ') + "5", 5},
        {"2*" + std::string(70000, ' ') + "3" + std::string(70000, ' '), 6},
    });
}

TEST(ParserFaults, MarkTheResultFailedWithoutAnEvent) {
    const std::vector<std::string> faults = {
        "1/0",
        "0/0",
        "1/(2-2)",
        "-2^2",   // the unary minus belongs to the base, which must be positive
        "(-3)^2",
        "-(2)^2",
        "0^2",
        "0^0",
        "10^4932",  // the exponent times ln 10 is beyond 11356
        "10^-4932",
        "1E10^1E4931",  // the exponent times ln of the base leaves the extended range
        "LN(0)",
        "LN(-1)",
        "SQRT(-1)",
        "SQRT(-1E-4940)",
        "ROUND(2E9)",
        "ROUND(1000000000.5)",
        "TRUNC(-1000000001)",
        "COS(9000000000000000001)",
        "SIN(-9000000000000000001)",
        "EXP(11356.000000000000001)",
        "EXP(-11356.000000000000001)",
        "SQR(1.000000000000000001E2466)",
        "!",
        "1+!",
        "2*(SIN(!",
        "!)))",  // the text after the mark is ignored
        "!+",
        "1/0*5+3",
    };
    RecordingParser recorder;
    for (const std::string& text : faults) {
        SCOPED_TRACE(text);
        recorder.Evaluate("42");
        recorder.Evaluate(text);
        EXPECT_TRUE(recorder.parser.Failed);
        EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 0));
        EXPECT_EQ(recorder.parser.ErrorCode, 0);
        EXPECT_TRUE(recorder.parseErrors.empty());
    }
}

TEST(ParserFaults, ParsingGoesOnAfterAFault) {
    RecordingParser recorder({{"X", 3}});
    recorder.Evaluate("1/0+X*X");
    EXPECT_TRUE(recorder.parser.Failed);
    EXPECT_EQ(recorder.namesAsked, (std::vector<std::string>{"X", "X"}));
    EXPECT_TRUE(recorder.parseErrors.empty());

    recorder.Evaluate("1/0)");
    EXPECT_TRUE(recorder.parser.Failed);
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{4});
    EXPECT_EQ(recorder.parser.ErrorCode, 4);

    recorder.Evaluate("LN(0)+(");
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{3});
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 0));
}

struct ErrorCase {
    std::string text;
    int code;
};

TEST(ParserSyntax, ErrorCodes) {
    const std::vector<ErrorCase> cases = {
        {"", 3},
        {"   ", 3},
        {"+1", 3},
        {"--1", 3},
        {"-!", 3},
        {"1+.", 3},
        {".", 3},
        {".E5", 3},
        {"1+*2", 3},
        {"()", 3},
        {"x", 3},  // no OnGetVar handler: every variable is unknown
        {"SIN2(1)", 3},
        {"SINE(1)", 3},
        {"\t1", 3},  // a tab is no separator
        {"_a", 3},
        {"\xc3\xa9", 3},
        {"1 2", 4},
        {"2(3)", 4},
        {"2x", 4},
        {"1)", 4},
        {"1!", 4},
        {"1.2.3", 4},
        {"1,5", 4},
        {"1E12345", 4},  // the fifth exponent digit starts a second numeral
        {"1\t", 4},
        {"1" + std::string(99, '0'), 4},  // a numeral ends after 80 characters
        {"SQRT 4", 5},
        {"SQRT", 5},
        {"SIN-1", 5},
        {"(1", 6},
        {"(1 2)", 6},
        {"(1\t)", 6},
        {"SIN(1,2)", 6},
        {"SIN(1", 6},
        {"1E", 7},
        {"2E+", 7},
        {"2e-", 7},
        {"1Ex", 7},
        {"1+2E", 7},
        {std::string(79, '1') + "E5", 7},  // the 80-character limit cuts the exponent's digits off
    };
    RecordingParser recorder;
    for (const ErrorCase& testCase : cases) {
        SCOPED_TRACE(testCase.text);
        recorder.Evaluate("42");
        recorder.Evaluate(testCase.text);
        EXPECT_EQ(recorder.parseErrors, std::vector<int>{testCase.code});
        EXPECT_FALSE(recorder.failedAtEvent);  // the outcome is set after the event
        EXPECT_TRUE(SameExtended(recorder.resultAtEvent, 42));
        EXPECT_TRUE(recorder.parser.Failed);
        EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 0));
        EXPECT_EQ(recorder.parser.ErrorCode, testCase.code);
    }
}

TEST(ParserSyntax, ErrorsWithoutAHandlerStillFail) {
    TMathParser parser;
    parser.ParseString = "(1";
    parser.Evaluate();
    EXPECT_TRUE(parser.Failed);
    EXPECT_EQ(parser.ErrorCode, 6);
    EXPECT_TRUE(SameExtended(parser.ResultValue, 0));
}

TEST(ParserSyntax, ABadExponentStopsScanningAtOnce) {
    RecordingParser recorder({{"X", 1}, {"Y", 2}});
    recorder.Evaluate("X+1E+Y");
    EXPECT_EQ(recorder.namesAsked, std::vector<std::string>{"X"});
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{7});

    recorder.Evaluate("1E Y");
    EXPECT_TRUE(recorder.namesAsked.empty());
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{7});
}

TEST(ParserSyntax, ScanningStopsAtTheFirstError) {
    RecordingParser recorder({{"X", 1}});
    recorder.Evaluate("X Y Z");
    EXPECT_EQ(recorder.namesAsked, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{4});
}

TEST(ParserVariables, ValuesComeFromTheHandlerInTextOrder) {
    RecordingParser recorder({{"X", 3}, {"R1", 0.1L}, {"G1", 200}, {"my_var2", -7}, {"SIN2", 5}, {"e", 2}});
    recorder.Evaluate("X*X");
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 9));
    EXPECT_EQ(recorder.namesAsked, (std::vector<std::string>{"X", "X"}));

    recorder.Evaluate("R1 + G1*my_var2 - SIN2");
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 0.1L + 200 * -7.0L - 5));
    EXPECT_EQ(recorder.namesAsked, (std::vector<std::string>{"R1", "G1", "my_var2", "SIN2"}));

    recorder.Evaluate("-e^X");  // "e" is a name; the unary minus makes the base negative
    EXPECT_TRUE(recorder.parser.Failed);
    recorder.Evaluate("e^X");
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, PowerThroughLn(2, 3)));

    recorder.Evaluate("x*X");  // names keep their case
    EXPECT_EQ(recorder.namesAsked, std::vector<std::string>{"x"});
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{3});
    EXPECT_TRUE(recorder.parser.Failed);
}

TEST(ParserVariables, AValueWithoutFoundIsAnUnknownName) {
    TMathParser parser;
    parser.OnGetVar = [](TMathParser&, std::string_view, long double& value, bool&) { value = 5; };
    parser.ParseString = "Y";
    parser.Evaluate();
    EXPECT_TRUE(parser.Failed);
    EXPECT_EQ(parser.ErrorCode, 3);
}

TEST(ParserVariables, AnErrorFromTheHandlerLeavesEvaluate) {
    RecordingParser recorder;
    recorder.Evaluate("42");
    recorder.parser.OnGetVar = [](TMathParser&, std::string_view, long double&, bool&) {
        throw Error("no such pixel");
    };
    recorder.parser.ParseString = "1+X";
    EXPECT_THROW(recorder.parser.Evaluate(), Error);
    EXPECT_FALSE(recorder.parser.Failed);
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 42));
    EXPECT_TRUE(recorder.parseErrors.empty());
}

// Expects Evaluate to throw Error with the message, leaving the previous
// result and Failed false, without a syntax error event.
void ExpectThrown(RecordingParser& recorder, const std::string& text, const std::string& message) {
    SCOPED_TRACE(text);
    recorder.Evaluate("42");
    try {
        recorder.Evaluate(text);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), message);
    }
    EXPECT_FALSE(recorder.parser.Failed);
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 42));
    EXPECT_TRUE(recorder.parseErrors.empty());
}

TEST(ParserOverflow, LeavesEvaluateAsAnError) {
    RecordingParser recorder;
    for (const std::string text : {"1E4000*1E4000", "1.1E4932+1.1E4932", "-1.1E4932-1.1E4932", "1E4000/1E-4000",
                                   "1E5000", "2E4932", "1 1E5000", "1/0+1E4000*1E4000", "SQR(1E2466)*2"}) {
        ExpectThrown(recorder, text, "Floating point overflow");
    }
}

TEST(ParserOverflow, ResultsTooSmallBecomeZeroOrSubnormal) {
    ExpectValues({
        {"1E-4000*1E-4000", 0},
        {"1E-4000/1E4000", 0},
        {"1E-2470*1E-2470", 1E-2470L * 1E-2470L},
        {"1E-4940/2", 1E-4940L / 2},
    });
}

TEST(ParserOverflow, InfiniteVariablesFollowTheFloatingPointRules) {
    const long double infinity = std::numeric_limits<long double>::infinity();
    RecordingParser recorder({{"I", infinity}, {"N", std::numeric_limits<long double>::quiet_NaN()}});
    ExpectThrown(recorder, "I-I", "Invalid floating point operation");
    ExpectThrown(recorder, "I*0", "Invalid floating point operation");

    recorder.Evaluate("I+1");  // no overflow: the operand was infinite already
    EXPECT_FALSE(recorder.parser.Failed);
    EXPECT_TRUE(std::isinf(recorder.parser.ResultValue));

    recorder.Evaluate("N+1");
    EXPECT_FALSE(recorder.parser.Failed);
    EXPECT_TRUE(std::isnan(recorder.parser.ResultValue));

    for (const std::string text : {"SIN(I)", "EXP(N)", "SQRT(N)", "I^0", "N^2", "2^N", "ROUND(N)"}) {
        SCOPED_TRACE(text);
        recorder.Evaluate(text);
        EXPECT_TRUE(recorder.parser.Failed);
    }
}

std::string NestedParentheses(int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); }

std::string NestedSums(int depth) { return Repeated("1+(", depth) + "1+1" + std::string(depth, ')'); }

std::string NestedSines(int depth) { return Repeated("SIN(", depth) + "1" + std::string(depth, ')'); }

TEST(ParserStack, DeepestNestingThatFits) {
    long double sine = 1;
    for (int i = 0; i < 6; ++i) sine = std::sin(AtRunTime(sine));
    ExpectValues({
        {NestedParentheses(12), 1},
        {NestedSums(3), 5},
        {NestedSines(6), sine},
    });
}

TEST(ParserStack, OneLevelMoreIsErrorOne) {
    RecordingParser recorder;
    for (const std::string& text : {NestedParentheses(13), NestedSums(4), NestedSines(7), NestedParentheses(100000),
                                    Repeated("-(", 50000)}) {
        SCOPED_TRACE(text.substr(0, 40));
        recorder.Evaluate(text);
        EXPECT_EQ(recorder.parseErrors, std::vector<int>{1});
        EXPECT_TRUE(recorder.parser.Failed);
        EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 0));
    }
}

TEST(ParserStack, TheTokenAfterAFailedPushIsStillScanned) {
    RecordingParser recorder({{"X", 1}, {"Y", 2}});
    recorder.Evaluate("1+(1+(1+(1+(1+X Y");  // X finds the stack full
    EXPECT_EQ(recorder.namesAsked, (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(recorder.parseErrors, std::vector<int>{1});
}

TEST(ParserState, EachEvaluationStartsAfresh) {
    TMathParser parser;
    EXPECT_FALSE(parser.Failed);
    EXPECT_TRUE(SameExtended(parser.ResultValue, 0));
    EXPECT_EQ(parser.ErrorCode, 0);

    RecordingParser recorder({{"X", 3}});
    recorder.Evaluate(NestedParentheses(13));
    recorder.Evaluate("7");
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 7));
    EXPECT_EQ(recorder.parser.ErrorCode, 0);

    recorder.Evaluate("1/0");
    recorder.Evaluate("X+1");  // Failed is cleared at the start, the old result kept until the end
    EXPECT_FALSE(recorder.failedAtEvent);
    EXPECT_TRUE(SameExtended(recorder.resultAtEvent, 0));
    EXPECT_FALSE(recorder.parser.Failed);
    EXPECT_TRUE(SameExtended(recorder.parser.ResultValue, 4));
}

}  // namespace
}  // namespace quorvane
