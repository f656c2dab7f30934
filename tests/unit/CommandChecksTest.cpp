// Every command's checks against the hand-written list of what each
// command promises (PromisedCommands.h): counts, kinds by position, bounds
// and the order in which they are applied, the numbers output 1 may hold,
// and the answer for a camera id that no open camera holds.
#include "AllocationCounter.h"
#include "ModuleFixture.h"
#include "PromisedCommands.h"
#include "gateway/CommandTable.h"

#include <algorithm>
#include <cstring>

using testhost::Array;

namespace {

bool takesText(char kind) { return kind == 'T' || kind == 'F'; }

// A valid argument list for the command; the scalars name no open camera.
std::vector<Array> validInputs(const PromisedCommand& command) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text(command.keyword));
    for (const char* kind = command.kinds; *kind != '\0'; ++kind)
        inputs.push_back(takesText(*kind) ? testhost::text("text") : testhost::scalar(777));
    // The save commands take a mode of 0 to 2.
    if (std::string(command.keyword).rfind("MemorySave", 0) == 0) inputs[5] = testhost::scalar(1);
    return inputs;
}

std::vector<Array> badKindsFor(char kind) {
    std::vector<Array> bad;
    if (takesText(kind)) {
        bad.push_back(testhost::scalar(1));
        bad.push_back(testhost::logical(true));
        return bad;
    }
    bad.push_back(testhost::numeric(mxDOUBLE_CLASS, {1, 2}));
    bad.push_back(testhost::emptyDouble());
    bad.push_back(testhost::logical(true));
    bad.push_back(testhost::text("7"));
    bad.push_back(testhost::numeric(mxDOUBLE_CLASS, {1, 1, 2}));
    return bad;
}

std::string inputKindMessage(int position, char kind) {
    return "Input " + std::to_string(position) + (takesText(kind) ? " must be a string." : " must be a scalar.");
}

std::vector<PromisedCommand> commandsWhere(bool (*wanted)(const PromisedCommand&)) {
    std::vector<PromisedCommand> chosen;
    for (const PromisedCommand& command : promisedCommands())
        if (wanted(command)) chosen.push_back(command);
    return chosen;
}

std::string keywordOf(const ::testing::TestParamInfo<PromisedCommand>& info) { return info.param.keyword; }

// The table has a row for each listed command, in the list's order, and
// output 1 of each may hold exactly the listed numbers.
TEST(CommandList, TheTableHoldsTheListedCommandsAndTheirAnswers) {
    ASSERT_EQ(kCommandCount, promisedCommands().size());
    for (size_t i = 0; i < kCommandCount; ++i) {
        const PromisedCommand& command = promisedCommands()[i];
        const CommandRow& row = kCommandTable[i];
        EXPECT_STREQ(row.keyword, command.keyword);
        std::vector<uint32_t> answers;
        for (uint32_t value = 0; value < 32; ++value)
            if (row.mayAnswer(value)) answers.push_back(value);
        EXPECT_EQ(answers, command.answers) << command.keyword;
        EXPECT_EQ(row.camera.named ? int(row.camera.notOpenStatus) : kNoCamera, command.notOpen) << command.keyword;
        EXPECT_EQ(row.bound.position, command.boundPosition) << command.keyword;
        EXPECT_EQ(row.bound.maximum, command.boundMaximum) << command.keyword;
    }
}

using Error = std::pair<std::string, std::string>;  // identifier, text

class CommandChecks : public ModuleTest, public ::testing::WithParamInterface<PromisedCommand> {
protected:
    // An argument error reaches no camera: the driver is loaded, nothing more.
    static void expectOnlyTheDriverLoad() {
        for (const std::string& operation : operations())
            EXPECT_TRUE(operation == "drvPreLoad" || operation == "drvLoad") << operation;
    }
};

TEST_P(CommandChecks, WrongInputCountRaisesTheInputMessageWhateverElseIsWrong) {
    const PromisedCommand& command = GetParam();
    std::vector<Array> tooMany = validInputs(command);
    tooMany.push_back(testhost::scalar(1));
    EXPECT_EQ(identifiedErrorOf(command.outputs, tooMany), Error("QuorvelML:inputCount", command.inputCountMessage));
    EXPECT_EQ(errorOf(command.outputs + 1, tooMany), command.inputCountMessage);

    std::vector<Array> tooFew = validInputs(command);
    if (tooFew.size() > 1) {
        tooFew.pop_back();
        EXPECT_EQ(errorOf(command.outputs, tooFew), command.inputCountMessage);
        EXPECT_EQ(errorOf(0, tooFew), command.inputCountMessage);
    }
}

TEST_P(CommandChecks, EachInputKindIsCheckedByPositionBeforeTheOutputCount) {
    const PromisedCommand& command = GetParam();
    const std::string kinds = command.kinds;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const int position = static_cast<int>(i) + 2;
        for (Array& bad : badKindsFor(kinds[i])) {
            std::vector<Array> inputs = validInputs(command);
            inputs[i + 1] = std::move(bad);
            EXPECT_EQ(identifiedErrorOf(command.outputs, inputs),
                      Error("QuorvelML:inputKind", inputKindMessage(position, kinds[i])))
                << position;
            EXPECT_EQ(errorOf(command.outputs + 2, inputs), inputKindMessage(position, kinds[i])) << position;
        }
        if (kinds[i] == 'P' || kinds[i] == 'N') {
            std::vector<Array> inputs = validInputs(command);
            inputs[i + 1] = testhost::scalar(0.5);
            const std::string range = kinds[i] == 'P' ? "18446744073709551615." : "4294967295.";
            EXPECT_EQ(identifiedErrorOf(0, inputs),
                      Error("QuorvelML:inputValue",
                            "Input " + std::to_string(position) + " must be a whole number from 0 to " + range));
        }
    }
    expectOnlyTheDriverLoad();
}

TEST_P(CommandChecks, TheFirstFailingPositionWins) {
    const PromisedCommand& command = GetParam();
    const std::string kinds = command.kinds;
    if (kinds.size() < 2) return;
    std::vector<Array> inputs = validInputs(command);
    for (size_t i = 0; i < kinds.size(); ++i) inputs[i + 1] = std::move(badKindsFor(kinds[i]).front());
    EXPECT_EQ(errorOf(command.outputs, inputs), inputKindMessage(2, kinds[0]));
}

TEST_P(CommandChecks, WrongOutputCountRaisesTheOutputMessageAndReachesNoCamera) {
    const PromisedCommand& command = GetParam();
    EXPECT_EQ(identifiedErrorOf(0, validInputs(command)), Error("QuorvelML:outputCount", command.outputCountMessage));
    EXPECT_EQ(errorOf(command.outputs + 1, validInputs(command)), command.outputCountMessage);
    expectOnlyTheDriverLoad();
}

INSTANTIATE_TEST_SUITE_P(AllCommands, CommandChecks, ::testing::ValuesIn(promisedCommands()), keywordOf);

class BoundedInput : public ModuleTest, public ::testing::WithParamInterface<PromisedCommand> {};

// Once the counts and kinds pass, a value past the bound (a negative one
// too) raises the bound's message and reaches no camera; the bound itself
// is taken.
TEST_P(BoundedInput, PastTheBoundRaisesItsMessageAfterTheOutputCount) {
    const PromisedCommand& command = GetParam();
    const size_t at = size_t(command.boundPosition - 1);
    for (double past : {double(command.boundMaximum) + 1, -1.0, 2147483648.0, 1e9}) {
        std::vector<Array> inputs = validInputs(command);
        inputs[at] = testhost::scalar(past);
        EXPECT_EQ(identifiedErrorOf(command.outputs, inputs), Error("QuorvelML:inputValue", command.boundMessage))
            << past;
        EXPECT_EQ(errorOf(command.outputs + 1, inputs), command.outputCountMessage) << past;
    }
    for (const std::string& operation : operations())
        EXPECT_TRUE(operation == "drvPreLoad" || operation == "drvLoad") << operation;
    std::vector<Array> inputs = validInputs(command);
    inputs[at] = testhost::scalar(command.boundMaximum);
    EXPECT_EQ(identifiedErrorOf(command.outputs, inputs), Error("", ""));
}

INSTANTIATE_TEST_SUITE_P(BoundedCommands, BoundedInput,
                         ::testing::ValuesIn(commandsWhere([](const PromisedCommand& command) {
                             return command.boundPosition != 0;
                         })),
                         keywordOf);

class UnknownCamera : public ModuleTest, public ::testing::WithParamInterface<PromisedCommand> {};

// With another camera open: output 1 is the row's answer, nothing reaches
// the driver, no block is taken but the text arguments' copies, and every
// other output is empty or zero.
TEST_P(UnknownCamera, AnswersTheRowsStatusWithoutTheDriver) {
    const PromisedCommand& command = GetParam();
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simClearCallLog();
    for (double cameraId : {4242.0, -1.0, 0.0}) {
        SCOPED_TRACE(cameraId);
        std::vector<Array> inputs = validInputs(command);
        inputs[1] = testhost::scalar(cameraId);
        AllocationCounter blocks;
        testhost::CallResult result = testhost::call(command.outputs, inputs);
        EXPECT_EQ(result.word(0), uint32_t(command.notOpen));
        const std::string kinds = command.kinds;
        EXPECT_EQ(blocks.asked(), size_t(std::count_if(kinds.begin(), kinds.end(), takesText)));
        for (size_t i = 1; i < result.outputs.size(); ++i) {
            const mxArray& output = result.output(i);
            if (std::strchr("GIK", findCommand(command.keyword)->outputKinds[i]) != nullptr) {
                EXPECT_EQ(output.elementCount(), 0u) << i;
            }
            EXPECT_EQ(output.bytes, std::vector<unsigned char>(output.bytes.size(), 0)) << i;
        }
    }
    EXPECT_TRUE(simCallLog().empty());
}

INSTANTIATE_TEST_SUITE_P(CameraCommands, UnknownCamera,
                         ::testing::ValuesIn(commandsWhere([](const PromisedCommand& command) {
                             return command.notOpen != kNoCamera;
                         })),
                         keywordOf);

}  // namespace
