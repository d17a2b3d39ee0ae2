#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bars/GetField.h"
#include "base/Errors.h"
#include "tests/bars/FieldTheLongWay.h"

namespace quillon {
namespace {

struct TFieldCase {
    const char* text;
    int index;
    const char* field;
};

TEST(GetFieldTest, CutsTheFieldsOfABarLine) {
    const TFieldCase cases[] = {
        {"20240102,1200,1.2345,1.2350,1.2300,1.2310,87", 3, "1.2345"},
        {"20240102,1200,1.2345,1.2350,1.2300,1.2310,87", 6, "1.2310"},
        {"20240102,1200,1.2345,1.2350,1.2300,1.2310,87", 7, "87"},
        {"20240102,1200,1.2345,1.2350,1.2300,1.2310,87", 8, ""},
        {"20240102,1200,1.2345,1.2350,1.2300,1.2310,87", 0, ""},
        {"20240102,1200,1.2345,1.2350,1.2300,1.2310", 6, "1.2310"},
        {"20240102,1200,1.2345,1.2350,1.2300", 6, ""},
        {"a,b,", 3, ""},
        {"a,,b", 2, ""},
        {" 1.5 ,x", 1, " 1.5 "},
        {"no comma", 1, "no comma"},
        {"", 1, ""},
        {"", 255, ""},
    };
    for (const TFieldCase& c : cases) {
        EXPECT_EQ(GetField(c.text, ',', static_cast<std::uint8_t>(c.index)), c.field)
            << "'" << c.text << "' field " << c.index;
    }
}

TEST(GetFieldTest, TextsAbove255CharactersAreARangeError) {
    const std::string longest(FieldTextLimit, ',');
    EXPECT_EQ(GetField(longest, ',', 255), "");
    EXPECT_THROW(GetField(longest + "1", ',', 1), RangeCheckError);
    EXPECT_THROW(GetField(std::string(1000, 'x'), ',', 0), RangeCheckError);
}

TEST(GetFieldTest, AgreesWithTheCuttingDoneTheLongWay) {
    std::mt19937 random(7);
    const std::string alphabet = ",,,ab ";
    for (int trial = 0; trial < 5000; ++trial) {
        std::string text(random() % 12, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        for (int index = 0; index <= 14; ++index) {
            ASSERT_EQ(GetField(text, ',', static_cast<std::uint8_t>(index)),
                      FieldTheLongWay(text, ',', index))
                << "'" << text << "' field " << index;
        }
    }
}

} // namespace
} // namespace quillon
