// A fresh module, host and simulator for every test, and short ways to
// call commands the way MATLAB code does.
#ifndef QUORVEL_TESTS_MODULEFIXTURE_H
#define QUORVEL_TESTS_MODULEFIXTURE_H

#include "QuorvelSim.h"
#include "TestHost.h"
#include "gateway/ModuleState.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        testhost::resetHost();
        resetModuleState();
        simReset();
    }

    // Calls the keyword with numeric arguments.
    testhost::CallResult run(int nlhs, const std::string& keyword, const std::vector<double>& scalars = {}) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text(keyword));
        for (double value : scalars) inputs.push_back(testhost::scalar(value));
        return testhost::call(nlhs, inputs);
    }

    // The host error text the call raised, or "" when it raised none.
    static std::string errorOf(int nlhs, const std::vector<testhost::Array>& inputs) {
        return identifiedErrorOf(nlhs, inputs).second;
    }

    // The identifier and the text of the host error, or two "".
    static std::pair<std::string, std::string> identifiedErrorOf(int nlhs,
                                                                 const std::vector<testhost::Array>& inputs) {
        try {
            testhost::call(nlhs, inputs);
        } catch (const testhost::HostError& error) {
            return {error.identifier, error.what()};
        }
        return {"", ""};
    }

    // Opens a simulated camera and returns its status number.
    uint32_t open(uint32_t cameraId) { return run(2, "OpenCamera", {double(cameraId)}).word(0); }

    static std::vector<std::string> operations() {
        std::vector<std::string> names;
        for (const SimCall& call : simCallLog()) names.push_back(simOperationName(call.operation));
        return names;
    }
};

#endif
