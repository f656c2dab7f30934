// Every driver call of every command, forced to fail in turn: alone, and
// together with every call after it. Each command is a table of the calls
// it makes on the simulator, in order, with the status number a failure of
// that call must produce (or kNotExamined: the command's outcome stands),
// the calls that must follow it, and a check of the state afterwards.
#include "AllocationCounter.h"
#include "ModuleFixture.h"
#include "camera/CameraState.h"
#include "camera/CameraTable.h"
#include "camera/Connections.h"

#include "acquisition/AcquisitionState.h"
#include "acquisition/Readout.h"
#include "common/FrameBuffer.h"

#include <functional>
#include <optional>

using testhost::Array;

namespace {

constexpr int kNotExamined = -1;
constexpr uint32_t kFailure = 1;
constexpr uint32_t kRejected = 3;  // the one driver value with a meaning of its own
constexpr int kMemoryError = -2;   // the host error "Memory allocation failed."

struct Step {
    const char* operation;
    int code;  // output 1 when this call fails, or kNotExamined
    // The calls that follow the failed one; unset: none after an examined
    // failure, the rest of the fault-free log after an unexamined one.
    std::optional<std::vector<std::string>> after = std::nullopt;
    // Output 1 when this call and every later one fail, where the flow
    // changes on the way; unset: the first examined code from here on.
    std::optional<int> cascade = std::nullopt;
    // Output 1 when the call answers 3 rather than 1; unset: as for 1.
    std::optional<int> rejected = std::nullopt;
};

struct Argument {
    double number = 0;
    const char* text = nullptr;
};
Argument T(const char* text) { return Argument{0, text}; }

struct Scenario {
    const char* label;
    std::function<void()> setup;  // through the module, before the log is cleared
    const char* keyword;
    std::vector<Argument> arguments;
    int nlhs;
    uint32_t success;  // output 1 without a fault
    std::vector<Step> steps;
    std::function<void(uint32_t code)> checkState = [](uint32_t) {};
    size_t blocks = 0;           // module allocations the command makes
    int refused = kMemoryError;  // output 1 when one of them is refused
};

testhost::CallResult command(int nlhs, const char* keyword, const std::vector<Argument>& arguments) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text(keyword));
    for (const Argument& argument : arguments)
        inputs.push_back(argument.text != nullptr ? testhost::text(argument.text) : testhost::scalar(argument.number));
    return testhost::call(nlhs, inputs);
}

uint32_t status(int nlhs, const char* keyword, const std::vector<Argument>& arguments) {
    return command(nlhs, keyword, arguments).word(0);
}

void openCamera(uint32_t cameraId) { ASSERT_EQ(status(2, "OpenCamera", {{double(cameraId)}}), 0u); }

bool registered(int32_t cameraId) { return findOpenCamera(cameraId) != nullptr; }

AcquisitionSlot& recordOf(int32_t cameraId) { return acquisitionSlot(FindCameraSlot(cameraId)); }

void startRecording(uint32_t cameraId) {
    ASSERT_EQ(status(1, "MemoryStartGrab", {{double(cameraId)}, {1}, {2}, {3}, {4}}), 0u);
    ASSERT_TRUE(simFireRecordEvent(cameraId));
}

std::vector<std::string> operationsInLog() {
    std::vector<std::string> names;
    for (const SimCall& call : simCallLog()) names.push_back(simOperationName(call.operation));
    return names;
}

std::vector<std::string> slice(const std::vector<std::string>& names, size_t from, size_t to) {
    to = std::min(to, names.size());
    from = std::min(from, to);
    return {names.begin() + long(from), names.begin() + long(to)};
}

// Settings rows of "OpenCamera" after the settings load, by camera type.
std::vector<Step> openTail(bool resetAtOpen) {
    std::vector<Step> steps = {{"drvSetParameter", kNotExamined}};
    if (resetAtOpen) steps.insert(steps.end(), {{"drvReset", kNotExamined}, {"drvEraseMemory", kNotExamined}});
    steps.insert(steps.end(), {{"drvPrepareSettings", kNotExamined}, {"drvSendSettings", kNotExamined}});
    return steps;
}

std::vector<Step> concat(std::vector<Step> head, const std::vector<Step>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The live capture core on the colour camera, after the handler's reads.
std::vector<Step> liveCore(const char* grab) {
    return {{"drvGetCameraInfo", 9},       {"drvGetCameraInfo", kNotExamined}, {"drvGetParameter", 7},
            {"drvGetParameter", 7},        {"drvGetParameter", 7},             {"drvGetParameter", 7},
            {grab, 12, std::vector<std::string>{"drvStopCapture"}}};
}

std::vector<std::string> operationsOf(const std::vector<Step>& steps) {
    std::vector<std::string> names;
    for (const Step& step : steps) names.push_back(step.operation);
    return names;
}

// The image handler's reads, group after group (a failed call ends its own
// group only): a failure among them answers 7 once the operation has made
// its checks, the calls `checks`, with no frame asked for; 9 when every
// later call fails too, the colour read among them.
std::vector<Step> handlerReads(const std::vector<std::vector<const char*>>& groups,
                               const std::vector<std::string>& checks) {
    std::vector<Step> steps;
    for (size_t g = 0; g < groups.size(); ++g) {
        std::vector<std::string> after;
        for (size_t h = g + 1; h < groups.size(); ++h) after.insert(after.end(), groups[h].begin(), groups[h].end());
        after.insert(after.end(), checks.begin(), checks.end());
        for (const char* operation : groups[g]) steps.push_back({operation, 7, after, 9});
    }
    return steps;
}

// The image commands' handler reads: the pixel format (value and both
// limits) and the image size (width, height).
const std::vector<const char*> kPixelFormatRead = {"drvGetParameter", "drvGetParameterLimit", "drvGetParameterLimit"};
const std::vector<const char*> kImageSizeRead = {"drvGetParameter", "drvGetParameter"};

// Where the raw-frame scenarios keep their file.
const char* rawFramePath() {
    static const std::string path = ::testing::TempDir() + "quorvel_fault_matrix.qrv";
    return path.c_str();
}

std::vector<Scenario> scenarios() {
    const double colour = kSimColourCameraId;
    auto openColour = [] { openCamera(kSimColourCameraId); };
    auto colourRegistered = [](uint32_t) { EXPECT_TRUE(registered(kSimColourCameraId)); };
    // Frames in the colour camera's memory to read back.
    auto recorded = [] {
        simSetMemory(kSimColourCameraId, 2, 1000, 1000);
        openCamera(kSimColourCameraId);
        ASSERT_EQ(status(1, "MemoryStartGrab", {{double(kSimColourCameraId)}, {0}, {0}, {0}, {0}}), 0u);
        ASSERT_TRUE(simWaitForRecording(kSimColourCameraId, 5000));
        ASSERT_EQ(status(1, "MemoryStopGrab", {{double(kSimColourCameraId)}}), 0u);
    };
    // The recorded frames downloaded to a file that a disk read can use.
    auto downloaded = [recorded] {
        recorded();
        ASSERT_EQ(status(1, "MemoryDownloadRawFrame", {{double(kSimColourCameraId)}, T(rawFramePath()), {0}, {0}, {2}, {0}, {0}}),
                  0u);
    };
    const std::vector<Step> synchGrabCore = concat(liveCore("drvGrabFrames"), {{"drvStopCapture", kNotExamined}});
    const std::vector<Step> previewCore = liveCore("drvGrabPreview");
    const std::vector<Step> readDataCore = {{"drvGetCameraInfo", kNotExamined}, {"drvGetCameraInfo", 9},
                                            {"drvGetParameter", 7},            {"drvGetParameter", 7},
                                            {"drvGetCameraInfo", kNotExamined}, {"drvReadMemory", 13},
                                            {"drvGetParameter", 7}};
    std::vector<std::string> readDataChecks = operationsOf(readDataCore);
    readDataChecks.resize(readDataChecks.size() - 2);
    std::vector<std::string> liveChecks = operationsOf(liveCore("drvGrabFrames"));
    liveChecks.resize(liveChecks.size() - 1);
    return {
        {"InitPCIeMemory", [] {}, "InitPCIeMemory", {{256}}, 1, 0, {{"drvConfigure", 1}}},
        {"SetNetAdapterIPAddress", [] {}, "SetNetAdapterIPAddress", {T("10.1.2.3")}, 1, 0, {{"drvConfigure", 1}},
         [](uint32_t) { EXPECT_EQ(cameraState().interfaceAddress, 0x0A010203u); }, 1},
        {"EnumCameras", [] {}, "EnumCameras", {{0}}, 3, 0,
         {{"drvConfigure", kNotExamined}, {"drvEnumCameras", 1}}},
        {"PreLoadDriver", [] {}, "PreLoadDriver", {{1}, {2}, {3}}, 1, 0, {{"drvPreLoad", 4}}},
        {"OpenCamera_named",
         [] {},
         "OpenCamera",
         {{colour}},
         2,
         0,
         concat({{"drvConfigure", kNotExamined},
                 {"drvOpenCamera", 2},
                 {"drvGetCameraInfo", kNotExamined},
                 {"drvLoadSettings", 5}},
                openTail(false)),
         [](uint32_t code) {
             EXPECT_EQ(registered(kSimColourCameraId), code != 2);
             if (code != 2) {
                 EXPECT_EQ(recordOf(kSimColourCameraId).frameReadyCount.load(), 0u);
             }
         }},
        {"OpenCamera_resetAtOpen",
         [] {},
         "OpenCamera",
         {{double(kSimMemoryCameraId)}},
         2,
         0,
         // A failed type read leaves the type at 0: plain load, no reset.
         concat({{"drvConfigure", kNotExamined},
                 {"drvOpenCamera", 2},
                 {"drvGetCameraInfo", kNotExamined,
                  std::vector<std::string>{"drvLoadSettings", "drvSetParameter", "drvPrepareSettings",
                                           "drvSendSettings"}},
                 {"drvLoadSettingsEx", 5}},
                openTail(true)),
         [](uint32_t code) { EXPECT_EQ(registered(kSimMemoryCameraId), code != 2); }},
        {"OpenCamera_firstFoundInUse",
         openColour,
         "OpenCamera",
         {{0}},
         2,
         0,
         // The in-use camera is released first; a close the driver skipped
         // leaves it open there, so the driver refuses to open it again.
         concat({{"drvConfigure", kNotExamined},
                 {"drvEnumCameras", 2},
                 {"drvStopCapture", kNotExamined},
                 {"drvCloseCamera", 2, std::vector<std::string>{"drvOpenCamera"}, 2},
                 {"drvOpenCamera", 2},
                 {"drvGetCameraInfo", kNotExamined},
                 {"drvLoadSettings", 5}},
                openTail(false)),
         [](uint32_t code) {
             // Registered again after a success; released once the driver was
             // asked to close it, whatever came after.
             bool released = simCallCount("drvCloseCamera") > 0;
             EXPECT_EQ(registered(kSimColourCameraId), code != 2 || !released);
             if (code == 2 && released) {
                 EXPECT_EQ(FindCameraSlot(kFreeSlotKey), 0);
             }
         }},
        {"OpenRawCamera", [] {}, "OpenRawCamera", {T("raw:burst.qrv")}, 2, 0,
         {{"drvOpenRawCamera", 24}, {"drvLoadSettingsEx", 7}, {"drvSendSettings", 10}},
         [](uint32_t code) { EXPECT_EQ(registered(kRawCameraId), code != 24); }, 1},
        {"CloseCamera", openColour, "CloseCamera", {{colour}}, 1, 0,
         // A refused close asks whether the driver still has the camera.
         {{"drvStopCapture", kNotExamined}, {"drvCloseCamera", 6, std::vector<std::string>{"drvEnumCameras"}}},
         [](uint32_t code) { EXPECT_EQ(registered(kSimColourCameraId), code != 0); }},
        {"GetCameraInfo", openColour, "GetCameraInfo", {{colour}, {12}}, 2, 0, {{"drvGetCameraInfo", 9}},
         colourRegistered},
        {"GetParameter", openColour, "GetParameter", {{colour}, {15}}, 4, 0,
         {{"drvGetParameter", 7}, {"drvGetParameterLimit", 7}, {"drvGetParameterLimit", 7}}, colourRegistered},
        {"SetParameter", openColour, "SetParameter", {{colour}, {11}, {500}}, 1, 0,
         {{"drvSetParameter", 8, std::nullopt, std::nullopt, 4}}, colourRegistered},
        {"SetParameter_reapplyWidth",
         [] {
             simConfigureCamera(kSimColourCameraId, [](SimCamera& camera) { camera.config.parameters[15].limit0 = 0; });
             openCamera(kSimColourCameraId);
         },
         "SetParameter",
         {{colour}, {15}, {0}},
         1,
         0,
         {{"drvGetCameraInfo", kNotExamined},
          {"drvGetCameraInfo", kNotExamined},
          {"drvGetParameter", kNotExamined},
          {"drvSetParameter", 8, std::nullopt, std::nullopt, 4}}},
        {"SendCfg", openColour, "SendCfg", {{colour}}, 1, 0,
         {{"drvPrepareSettings", kNotExamined}, {"drvSendSettings", 10}}},
        {"GetBrocParameters", openColour, "GetBrocParameters", {{colour}, {3}}, 5, 0, {{"drvGetBrocParameters", 7}}},
        {"CalibrateNoiseReduction", openColour, "CalibrateNoiseReduction", {{colour}, {2}}, 1, 0,
         {{"drvCalibrateNoiseReduction", 17}}},
        {"Trigger", openColour, "Trigger", {{colour}}, 1, 0, {{"drvTrigger", 19}}},
        {"Reset", openColour, "Reset", {{colour}}, 1, 0, {{"drvReset", 21}}},
        {"EnableDiagnosticTrace", openColour, "EnableDiagnosticTrace", {{colour}, T("trace"), {1}}, 1, 0,
         {{"drvEnableTrace", 22}}, [](uint32_t) {}, 1},
        {"EraseMemory", openColour, "EraseMemory", {{colour}}, 1, 0, {{"drvEraseMemory", 23}}},
        {"ReadGPSTiming", openColour, "ReadGPSTiming", {{colour}, {64}}, 2, 0, {{"drvReadTiming", 20}}},
        {"MemoryStartGrab", openColour, "MemoryStartGrab", {{colour}, {1}, {2}, {3}, {4}}, 1, 0,
         {{"drvGetCameraInfo", kNotExamined}, {"drvStartRecording", 12}},
         [](uint32_t) { EXPECT_EQ(recordOf(kSimColourCameraId).frameReadyCount.load(), 0u); }},
        {"MemoryStartGrab_resetFirst",
         [] { openCamera(kSimMemoryCameraId); },
         "MemoryStartGrab",
         {{double(kSimMemoryCameraId)}, {1}, {2}, {3}, {4}},
         1,
         0,
         // A failed type read leaves the type at 0: no reset.
         {{"drvGetCameraInfo", kNotExamined, std::vector<std::string>{"drvStartRecording"}, 12},
          {"drvReset", 21},
          {"drvStartRecording", 12}},
         [](uint32_t code) {
             int index = FindCameraSlot(kSimMemoryCameraId);
             EXPECT_EQ(acquisitionSlot(index).frameReadyCount.load(), 0u);
             // A ticket counts once a start succeeded: a refused start
             // gives it back to the recording before it (none here).
             EXPECT_EQ(acquisitionSlot(index).recordingTicket.load() != 0, code == 0);
         }},
        {"MemoryStopGrab",
         [] {
             openCamera(kSimColourCameraId);
             startRecording(kSimColourCameraId);
         },
         "MemoryStopGrab",
         {{colour}},
         1,
         0,
         {{"drvStopRecording", 15}},
         [](uint32_t code) { EXPECT_EQ(recordOf(kSimColourCameraId).frameReadyCount.load(), code == 0 ? 0u : 1u); }},
        {"MemoryReadTriggerPosition", recorded, "MemoryReadTriggerPosition", {{colour}}, 3, 0,
         {{"drvReadTriggerPosition", 14}}},
        {"MemoryDownloadRawFrame", recorded, "MemoryDownloadRawFrame", {{colour}, T(rawFramePath()), {0}, {0}, {1}, {0}, {0}},
         1, 0, {{"drvDownloadRawFrame", 25}}, [](uint32_t) {}, 1},
        {"MemoryReadFromDisk", downloaded, "MemoryReadFromDisk", {{colour}, {0}, {0}, {0}, {1}, {0}, {0}}, 1, 0,
         {{"drvReadFromDisk", 13}},
         [](uint32_t) {
             int index = FindCameraSlot(kSimColourCameraId);
             EXPECT_EQ(acquisitionSlot(index).diskReadCount.load(), 0u);
             EXPECT_NE(acquisitionSlot(index).diskReadTicket.load(), 0u);
         }},
        {"GrabIsReady", openColour, "GrabIsReady", {{colour}}, 2, 0, {}},
        {"SynchGrab", openColour, "SynchGrab", {{colour}, {0}}, 3, 0,
         concat(handlerReads({kPixelFormatRead, kImageSizeRead}, liveChecks), synchGrabCore), [](uint32_t) {}, 1, 11},
        {"MemoryPreview", openColour, "MemoryPreview", {{colour}}, 3, 0,
         concat(handlerReads({kPixelFormatRead, kImageSizeRead}, liveChecks), previewCore), [](uint32_t) {}, 1, 11},
        {"MemoryReadData", recorded, "MemoryReadData", {{colour}, {0}, {0}, {0}}, 2, 0,
         concat(handlerReads({kImageSizeRead, kPixelFormatRead}, readDataChecks), readDataCore), [](uint32_t) {}, 1, 13},
    };
}


class FaultMatrix : public ::testing::TestWithParam<Scenario> {
protected:
    // A fresh host, module and simulator with the scenario's setup done
    // and the log cleared.
    static void prepare(const Scenario& scenario) {
        testhost::resetHost();
        resetModuleState();
        simReset();
        ASSERT_EQ(command(1, "Version", {}).textOutput(0), "2.14.00");  // the driver loaded, the table reset
        scenario.setup();
        simClearCallLog();
    }

    static uint32_t outcome(const Scenario& scenario) {
        return status(scenario.nlhs, scenario.keyword, scenario.arguments);
    }

    // How many calls of the operation come before log position index.
    static int earlierCalls(const std::vector<std::string>& log, size_t index) {
        return int(std::count(log.begin(), log.begin() + long(index), log[index]));
    }
};

TEST_P(FaultMatrix, EveryDriverCallFailsInTurn) {
    const Scenario& scenario = GetParam();
    prepare(scenario);
    ASSERT_EQ(outcome(scenario), scenario.success);
    const std::vector<std::string> clean = operationsInLog();
    std::vector<std::string> table;
    for (const Step& step : scenario.steps) table.push_back(step.operation);
    ASSERT_EQ(clean, table) << "the table does not list the calls the command makes";
    scenario.checkState(scenario.success);

    for (size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        for (uint32_t value : {kFailure, kRejected}) {
            SCOPED_TRACE(std::string("call ") + std::to_string(i) + " " + step.operation + " answering " +
                         std::to_string(value));
            prepare(scenario);
            simForceResultAfter(step.operation, earlierCalls(clean, i), value, 1);
            uint32_t code = outcome(scenario);
            int expected = step.code == kNotExamined ? int(scenario.success)
                                                     : (value == kRejected ? step.rejected.value_or(step.code)
                                                                           : step.code);
            EXPECT_EQ(code, uint32_t(expected));
            std::vector<std::string> log = operationsInLog();
            EXPECT_EQ(slice(log, 0, i + 1), slice(clean, 0, i + 1)) << "calls before the failed one";
            std::vector<std::string> following =
                step.after ? *step.after
                           : (step.code == kNotExamined ? slice(clean, i + 1, clean.size()) : std::vector<std::string>{});
            EXPECT_EQ(slice(log, i + 1, log.size()), following) << "calls after the failed one";
            scenario.checkState(code);
        }

        SCOPED_TRACE(std::string("calls from ") + std::to_string(i) + " " + step.operation + " on all failing");
        prepare(scenario);
        simForceResultAfter(kSimAnyOperation, int(i), kFailure, kSimForever);
        uint32_t code = outcome(scenario);
        int expected = int(scenario.success);
        if (step.cascade) {
            expected = *step.cascade;
        } else {
            for (size_t j = i; j < scenario.steps.size(); ++j)
                if (scenario.steps[j].code != kNotExamined) {
                    expected = scenario.steps[j].code;
                    break;
                }
        }
        EXPECT_EQ(code, uint32_t(expected));
        EXPECT_EQ(slice(operationsInLog(), 0, i), slice(clean, 0, i));
        EXPECT_EQ(simForcedCallCount(), operationsInLog().size() - i) << "every later call was forced";
        scenario.checkState(code);
    }
}

TEST_P(FaultMatrix, EveryModuleAllocationIsRefusedInTurn) {
    const Scenario& scenario = GetParam();
    AllocationCounter blocks;
    prepare(scenario);
    blocks.restart();
    EXPECT_EQ(outcome(scenario), scenario.success);
    const size_t taken = blocks.asked();
    EXPECT_EQ(taken, scenario.blocks) << "blocks the command takes through the module's allocator";
    for (size_t refused = 0; refused < taken; ++refused) {
        SCOPED_TRACE("block " + std::to_string(refused) + " refused");
        prepare(scenario);
        blocks.restart();
        blocks.refuseAt(refused);
        std::string error;
        uint32_t code = 0;
        try {
            code = outcome(scenario);
        } catch (const testhost::HostError& raised) {
            error = raised.what();
        }
        if (scenario.refused == kMemoryError) {
            EXPECT_EQ(error, "Memory allocation failed.");
            EXPECT_TRUE(operationsInLog().empty()) << "the driver was called";
        } else {
            EXPECT_EQ(code, uint32_t(scenario.refused));
            scenario.checkState(code);
        }
        EXPECT_EQ(blocks.held(), 0u) << "a block was kept";
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultMatrix, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.label; });

// The schedules themselves: skipping, counting, and the operation's own
// schedule taking precedence over the one for every operation.
TEST(FaultSchedules, SkipThenForceThenPassAgain) {
    simReset();
    simForceResultAfter("drvPreLoad", 2, 9, 2);
    std::vector<uint32_t> results;
    for (int i = 0; i < 5; ++i) results.push_back(drvPreLoad(0, 0, 0));
    EXPECT_EQ(results, (std::vector<uint32_t>{0, 0, 9, 9, 0}));
    EXPECT_EQ(simForcedCallCount(), 2u);

    simForceResultAfter(kSimAnyOperation, 1, 4, kSimForever);
    simForceResultAfter("drvConfigure", 0, 6, 1);
    EXPECT_EQ(drvPreLoad(0, 0, 0), 0u);  // the first call of any operation passes
    EXPECT_EQ(drvConfigure(0, 1, 0, 0), 6u);
    EXPECT_EQ(drvPreLoad(0, 0, 0), 4u);
    simReset();
    EXPECT_EQ(simForcedCallCount(), 0u);
    EXPECT_EQ(drvPreLoad(0, 0, 0), 0u);
}

// Faults the schedules above cannot make: frames written in part or past
// their size, callbacks that come late, and failures chosen by arguments.
class DriverFaults : public ::testing::Test {
protected:
    void SetUp() override {
        testhost::resetHost();
        resetModuleState();
        simReset();
    }

    AllocationCounter blocks;

    // The mono camera (default size, 8-bit) with two frames in memory; returns
    // the image of the first.
    static std::vector<unsigned char> recordMono() {
        simSetMemory(kSimMonoCameraId, 2, 1000, 1000);
        openCamera(kSimMonoCameraId);
        EXPECT_EQ(status(1, "MemoryStartGrab", {{double(kSimMonoCameraId)}, {0}, {0}, {0}, {0}}), 0u);
        EXPECT_TRUE(simWaitForRecording(kSimMonoCameraId, 5000));
        return readMono().output(1).bytes;
    }
    static testhost::CallResult readMono() {
        return command(2, "MemoryReadData", {{double(kSimMonoCameraId)}, {0}, {0}, {0}});
    }
    static void setFrameFaults(std::optional<uint32_t> partialBytes, uint32_t excess) {
        simConfigureCamera(kSimMonoCameraId, [&](SimCamera& camera) {
            camera.overrides.partialFrameBytes = partialBytes;
            camera.overrides.frameExcess = excess;
        });
    }
};

// A failed readout hands over what the driver wrote before it failed (the
// first ten pixels of line 0, a column apart in the column-major image);
// a failed grab hands over nothing and gives its buffer back.
TEST_F(DriverFaults, FramesWrittenInPartBeforeAFailure) {
    const std::vector<unsigned char> whole = recordMono();
    setFrameFaults(10, 0);
    testhost::CallResult partial = readMono();
    EXPECT_EQ(partial.word(0), 13u);
    std::vector<unsigned char> expected(whole.size(), 0);
    const size_t column = kSimDefaultHeight.value;
    for (size_t pixel = 0; pixel < 10; ++pixel) expected[pixel * column] = whole[pixel * column];
    EXPECT_EQ(partial.output(1).bytes, expected);

    setFrameFaults(10, 0);
    testhost::CallResult grab = command(3, "SynchGrab", {{double(kSimMonoCameraId)}, {0}});
    EXPECT_EQ(grab.word(0), 12u);
    EXPECT_EQ(grab.output(1).bytes, std::vector<unsigned char>(whole.size(), 0));
}

// A driver frame as large as the readout's block allows, five times the
// image: it stays inside the block (AddressSanitizer watches) and only the
// image's bytes arrive.
TEST_F(DriverFaults, FrameLargerThanTheImage) {
    const std::vector<unsigned char> whole = recordMono();
    setFrameFaults(std::nullopt, uint32_t((kMaxReadoutBytesPerPixel - 1) * whole.size()));
    testhost::CallResult readout = readMono();
    EXPECT_EQ(readout.word(0), 0u);
    EXPECT_EQ(readout.output(1).bytes, whole);
}

// A driver calling back after the stop, or after the camera was closed and
// opened again, must leave the camera table as it is.
TEST_F(DriverFaults, LateRecordingCallbacksLeaveTheCameraTableAlone) {
    const double segmented = kSimSegmentedCameraId;
    simSetMemory(kSimSegmentedCameraId, 16, 0, 0);
    openCamera(kSimSegmentedCameraId);
    for (const char* end : {"MemoryStopGrab", "CloseCamera"}) {
        ASSERT_EQ(status(1, "MemoryStartGrab", {{segmented}, {0}, {0}, {3}, {1}}), 0u);
        ASSERT_TRUE(simFireRecordEvent(kSimSegmentedCameraId));
        ASSERT_EQ(status(1, end, {{segmented}}), 0u);
        if (!registered(kSimSegmentedCameraId)) openCamera(kSimSegmentedCameraId);
        recordOf(kSimSegmentedCameraId).segmentTable[0] = 55;
        simClearCallLog();
        ASSERT_TRUE(simFireLateRecordEvent(kSimSegmentedCameraId));
        EXPECT_EQ(command(2, "GrabIsReady", {{segmented}}).word(1), 0u) << end;
        EXPECT_EQ(recordOf(kSimSegmentedCameraId).segmentTable[0], 55u) << end;
        EXPECT_EQ(simCallCount("drvGetCameraInfo"), 0) << end;
    }
}

// Every read of the frame height fails, the handler's and the operation's,
// while the reads between them pass: no schedule by position makes that.
// A name that is no driver operation forces nothing and says so.
TEST_F(DriverFaults, FailuresChosenByTheCallsArguments) {
    openCamera(kSimColourCameraId);
    simForceResultWhere("drvGetParameter", 2, kSimParamHeight, kFailure, kSimForever);
    simClearCallLog();
    EXPECT_EQ(status(3, "SynchGrab", {{double(kSimColourCameraId)}, {0}}), 7u);
    EXPECT_EQ(simCallCount("drvGetParameter"), 5) << "format, width, height; then width, height";
    EXPECT_EQ(simForcedCallCount(), 2u);
    EXPECT_EQ(blocks.asked(), 0u);

    simClearForcedResults();
    EXPECT_THROW(simForceResult("drvGrabFrame", kFailure), std::invalid_argument);
    EXPECT_THROW(simForceResultAfter("GrabFrames", 0, kFailure), std::invalid_argument);
    EXPECT_THROW(simForceResultWhere("drvGetParamter", 2, kSimParamHeight, kFailure), std::invalid_argument);
    EXPECT_EQ(status(3, "SynchGrab", {{double(kSimColourCameraId)}, {0}}), 0u);
}

}  // namespace
