// Every command's checks, run from its row of the command table: counts,
// kinds by position and the order in which they are applied; and the
// answer for a camera id that no open camera holds.
#include "ModuleFixture.h"
#include "acquisition/FrameBuffer.h"
#include "gateway/CommandTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using testhost::Array;

namespace {

// A valid argument list for the command; the scalars name no open camera.
std::vector<Array> validInputs(const CommandRow& row) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text(row.keyword));
    for (const char* kind = row.argumentKinds; *kind != '\0'; ++kind)
        inputs.push_back(*kind == 'T' ? testhost::text("text") : testhost::scalar(777));
    // The save commands take a mode of 0 to 2.
    if (std::string(row.keyword).rfind("MemorySave", 0) == 0) inputs[5] = testhost::scalar(1);
    return inputs;
}

std::vector<Array> badKindsFor(char kind) {
    std::vector<Array> bad;
    if (kind == 'T') {
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
    return "Input " + std::to_string(position) + (kind == 'T' ? " must be a string." : " must be a scalar.");
}

std::vector<const CommandRow*> rowsWhere(bool (*wanted)(const CommandRow&)) {
    std::vector<const CommandRow*> rows;
    for (const CommandRow& row : kCommandTable)
        if (wanted(row)) rows.push_back(&row);
    return rows;
}

std::string keywordOf(const ::testing::TestParamInfo<const CommandRow*>& info) { return info.param->keyword; }

using Error = std::pair<std::string, std::string>;  // identifier, text

class CommandChecks : public ModuleTest, public ::testing::WithParamInterface<const CommandRow*> {};

TEST_P(CommandChecks, WrongInputCountRaisesTheInputMessageWhateverElseIsWrong) {
    const CommandRow& row = *GetParam();
    std::vector<Array> tooMany = validInputs(row);
    tooMany.push_back(testhost::scalar(1));
    EXPECT_EQ(identifiedErrorOf(row.outputCount(), tooMany), Error("QuorvelML:inputCount", row.inputCountMessage));
    EXPECT_EQ(errorOf(row.outputCount() + 1, tooMany), row.inputCountMessage);

    std::vector<Array> tooFew = validInputs(row);
    if (tooFew.size() > 1) {
        tooFew.pop_back();
        EXPECT_EQ(errorOf(row.outputCount(), tooFew), row.inputCountMessage);
        EXPECT_EQ(errorOf(0, tooFew), row.inputCountMessage);
    }
}

TEST_P(CommandChecks, EachInputKindIsCheckedByPositionBeforeTheOutputCount) {
    const CommandRow& row = *GetParam();
    const std::string kinds = row.argumentKinds;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const int position = static_cast<int>(i) + 2;
        for (Array& bad : badKindsFor(kinds[i])) {
            std::vector<Array> inputs = validInputs(row);
            inputs[i + 1] = std::move(bad);
            EXPECT_EQ(identifiedErrorOf(row.outputCount(), inputs),
                      Error("QuorvelML:inputKind", inputKindMessage(position, kinds[i])))
                << position;
            EXPECT_EQ(errorOf(row.outputCount() + 2, inputs), inputKindMessage(position, kinds[i])) << position;
        }
    }
}

TEST_P(CommandChecks, TheFirstFailingPositionWins) {
    const CommandRow& row = *GetParam();
    const std::string kinds = row.argumentKinds;
    if (kinds.size() < 2) return;
    std::vector<Array> inputs = validInputs(row);
    for (size_t i = 0; i < kinds.size(); ++i) inputs[i + 1] = std::move(badKindsFor(kinds[i]).front());
    EXPECT_EQ(errorOf(row.outputCount(), inputs), inputKindMessage(2, kinds[0]));
}

TEST_P(CommandChecks, WrongOutputCountRaisesTheOutputMessageAndReachesNoCamera) {
    const CommandRow& row = *GetParam();
    EXPECT_EQ(identifiedErrorOf(0, validInputs(row)), Error("QuorvelML:outputCount", row.outputCountMessage));
    EXPECT_EQ(errorOf(row.outputCount() + 1, validInputs(row)), row.outputCountMessage);
    for (const std::string& operation : operations())
        EXPECT_TRUE(operation == "drvPreLoad" || operation == "drvLoad") << operation;
}

INSTANTIATE_TEST_SUITE_P(AllCommands, CommandChecks,
                         ::testing::ValuesIn(rowsWhere([](const CommandRow&) { return true; })), keywordOf);

// The module's blocks, counted.
size_t blocksTaken = 0;
void* countingAllocate(size_t bytes) {
    ++blocksTaken;
    return std::malloc(bytes);
}

class UnknownCamera : public ModuleTest, public ::testing::WithParamInterface<const CommandRow*> {
protected:
    void TearDown() override { setFrameBufferAllocator(defaultFrameBufferAllocator()); }
};

// With another camera open: output 1 is the row's answer, nothing reaches
// the driver, no block is taken but the text arguments' copies, and every
// other output is empty or zero.
TEST_P(UnknownCamera, AnswersTheRowsStatusWithoutTheDriver) {
    const CommandRow& row = *GetParam();
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simClearCallLog();
    for (double cameraId : {4242.0, -1.0, 0.0}) {
        SCOPED_TRACE(cameraId);
        std::vector<Array> inputs = validInputs(row);
        inputs[1] = testhost::scalar(cameraId);
        blocksTaken = 0;
        setFrameBufferAllocator({countingAllocate, std::free});
        testhost::CallResult result = testhost::call(row.outputCount(), inputs);
        setFrameBufferAllocator(defaultFrameBufferAllocator());
        EXPECT_EQ(result.word(0), uint32_t(row.camera.notOpenStatus));
        const std::string kinds = row.argumentKinds;
        EXPECT_EQ(blocksTaken, size_t(std::count(kinds.begin(), kinds.end(), 'T')));
        for (size_t i = 1; i < result.outputs.size(); ++i) {
            const mxArray& output = result.output(i);
            if (std::strchr("GIK", row.outputKinds[i]) != nullptr) {
                EXPECT_EQ(output.elementCount(), 0u) << i;
            }
            EXPECT_EQ(output.bytes, std::vector<unsigned char>(output.bytes.size(), 0)) << i;
        }
    }
    EXPECT_TRUE(simCallLog().empty());
}

INSTANTIATE_TEST_SUITE_P(CameraCommands, UnknownCamera,
                         ::testing::ValuesIn(rowsWhere([](const CommandRow& row) { return row.camera.named; })),
                         keywordOf);

}  // namespace
