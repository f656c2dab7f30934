// Every command's argument checks: counts, kinds by position, and the
// order in which they are applied, with the exact bytes of each message.
#include "ModuleFixture.h"

using testhost::Array;

namespace {

struct ExpectedCommand {
    const char* keyword;
    const char* kinds;  // from input 2 on
    int outputs;
    const char* inputCountMessage;
    const char* outputCountMessage;
};

const ExpectedCommand kExpected[] = {
    {"InitPCIeMemory", "S", 1, "Invalid number of inputs to InitPCIeMemory\n", "InitPCIeMemory needs 1 output\n"},
    {"SetNetAdapterIPAddress", "T", 1, "Invalid number of inputs to SetNetAdapterIPAddress\n",
     "SetNetAdapterIPAddress needs 1 outputs\n"},
    {"OpenCamera", "S", 2, "Invalid number of inputs to ZelOpenCamera\n", "ZelOpenCamera needs 2 outputs\n"},
    {"CloseCamera", "S", 1, "Invalid number of inputs to ZelCloseCamera\n", "ZelCloseCamera needs 1 output\n"},
    {"EnumCameras", "S", 3, "Invalid number of inputs to ZelEnumCameras\n", "ZelEnumCameras needs 3 outputs\n"},
    {"GetCameraInfo", "SS", 2, "Invalid number of inputs to ZelGetCameraInfo\n",
     "ZelGetCameraInfo needs 2 outputs\n"},
    {"GetParameter", "SS", 4, "Invalid number of inputs to ZelGetParameter\n", "ZelGetParameter needs 4 outputs\n"},
    {"SetParameter", "SSS", 1, "Invalid number of inputs to ZelSetParameter\n", "ZelSetParameter needs 1 outputs\n"},
    {"Abort", "S", 1, "Invalid number of inputs to ZelAbort\n", "ZelAbort needs 1 output\n"},
    {"Version", "", 1, "Invalid number of inputs to Version\n", "Version needs 1 output\n"},
    {"GrabIsReady", "S", 2, "Invalid number of inputs to GrabIsReady\n", "GrabIsReady needs 2 outputs\n"},
    {"GetBrocParameters", "SS", 5, "Invalid number of inputs to GetBrocParameters\n",
     "GetBrocParameters needs 5 outputs\n"},
    {"SynchGrab", "SS", 3, "Invalid number of inputs to ZelSynchGrab\n", "ZelSynchGrab needs 3 outputs\n"},
    {"MemoryPreview", "S", 3, "Invalid number of inputs to MemoryPreview\n", "MemoryPreview needs 3 outputs\n"},
    {"MemoryStartGrab", "SSSSS", 1, "Invalid number of inputs to StartGrabEx\n", "StartGrabEx needs 1 outputs\n"},
    {"MemoryStopGrab", "S", 1, "Invalid number of inputs to EndGrabEx\n", "EndGrabEx needs 1 output\n"},
    {"MemoryReadData", "SSSS", 2, "Invalid number of inputs to ReadMemory\n", "ZelStartAcquire needs 2 outputs\n"},
    {"MemoryReadTriggerPosition", "S", 3, "Invalid number of inputs to RuxMemoryReadTriggerPosition\n",
     "MemoryReadTriggerPosition needs 3 outputs\n"},
    {"CalibrateNoiseReduction", "SS", 1, "Invalid number of inputs to CalibrateNoiseReduction\n",
     "CalibrateNoiseReduction needs 1 output\n"},
    {"SendCfg", "S", 1, "Invalid number of inputs to SendCfg\n", "SendCfg needs 1 output\n"},
    {"Trigger", "S", 1, "Invalid number of inputs to Trigger\n", "Trigger needs 1 output\n"},
    {"ReadGPSTiming", "SS", 2, "Invalid number of inputs to ReadGPSTiming\n", "ReadGPSTiming needs 2 outputs\n"},
    {"Reset", "S", 1, "Invalid number of inputs to Reset\n", "Reset needs 1 output\n"},
    {"EnableDiagnosticTrace", "STS", 1, "Invalid number of inputs to EnableDiagnosticTrace\n",
     "EnableDiagnosticTrace needs 1 outputs\n"},
    {"EraseMemory", "S", 1, "Invalid number of inputs to MemoryErase\n", "MemoryErase needs 1 output\n"},
    {"MemoryDownloadRawFrame", "STSSSSS", 1, "Invalid number of inputs to MemoryDownloadRawFrame\n",
     "MemoryDownloadRawFrame needs 1 outputs\n"},
    {"PreLoadDriver", "SSS", 1, "Invalid number of inputs to PreLoadDriver\n", "PreLoadDriver needs 1 outputs\n"},
    {"OpenRawCamera", "T", 2, "Invalid number of inputs to ZelOpenRawCamera\n", "ZelOpenRawCamera needs 2 outputs\n"},
    {"MemoryReadFromDisk", "SSSSSSS", 1, "Invalid number of inputs to MemoryReadFromDisk\n",
     "MemoryReadFromDisk needs 1 outputs\n"},
    {"DiskReadProgress", "S", 4, "Invalid number of inputs to DiskReadProgress\n", "DiskReadProgress needs 4 outputs\n"},
};

// A valid argument list for the command, with an unknown camera id so that
// nothing reaches a camera.
std::vector<Array> validInputs(const ExpectedCommand& command) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text(command.keyword));
    for (const char* kind = command.kinds; *kind != '\0'; ++kind)
        inputs.push_back(*kind == 'T' ? testhost::text("text") : testhost::scalar(777));
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

using Error = std::pair<std::string, std::string>;  // identifier, text

class CommandChecks : public ModuleTest, public ::testing::WithParamInterface<ExpectedCommand> {};

TEST_P(CommandChecks, WrongInputCountRaisesTheInputMessageWhateverElseIsWrong) {
    const ExpectedCommand& command = GetParam();
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
    const ExpectedCommand& command = GetParam();
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
    }
}

TEST_P(CommandChecks, TheFirstFailingPositionWins) {
    const ExpectedCommand& command = GetParam();
    const std::string kinds = command.kinds;
    if (kinds.size() < 2) return;
    std::vector<Array> inputs = validInputs(command);
    for (size_t i = 0; i < kinds.size(); ++i) inputs[i + 1] = std::move(badKindsFor(kinds[i]).front());
    EXPECT_EQ(errorOf(command.outputs, inputs), inputKindMessage(2, kinds[0]));
}

TEST_P(CommandChecks, WrongOutputCountRaisesTheOutputMessageAndReachesNoCamera) {
    const ExpectedCommand& command = GetParam();
    EXPECT_EQ(identifiedErrorOf(0, validInputs(command)),
              Error("QuorvelML:outputCount", command.outputCountMessage));
    EXPECT_EQ(errorOf(command.outputs + 1, validInputs(command)), command.outputCountMessage);
    for (const std::string& operation : operations())
        EXPECT_TRUE(operation == "drvPreLoad" || operation == "drvLoad") << operation;
}

INSTANTIATE_TEST_SUITE_P(AllCommands, CommandChecks, ::testing::ValuesIn(kExpected),
                         [](const ::testing::TestParamInfo<ExpectedCommand>& info) {
                             return std::string(info.param.keyword);
                         });

}  // namespace
