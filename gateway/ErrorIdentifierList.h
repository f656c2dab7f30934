// Every identifier of an error the module raises, so that MATLAB code can
// catch each kind by name. The includer defines both macros:
//   QUORVEL_CALL_ERROR(name, identifier, note): a mistake in a call, or a
//     driver that would not load, raised before anything reaches a camera.
//     In this order, each with its note in parentheses after it (none for
//     ""), they are the list in the help file's opening, written at build
//     time (tools/error_identifiers.cpp).
//   QUORVEL_SAVE_ERROR(name, identifier): saving's errors, which the help
//     names where it describes the save commands.
// Each is the constant k<name>Error of gateway/HostCalls.h.
QUORVEL_CALL_ERROR(InputCount, "QuorvelML:inputCount", "")
QUORVEL_CALL_ERROR(InputKind, "QuorvelML:inputKind", "")
QUORVEL_CALL_ERROR(InputValue, "QuorvelML:inputValue", "a number beyond what the command takes")
QUORVEL_CALL_ERROR(OutputCount, "QuorvelML:outputCount", "")
QUORVEL_CALL_ERROR(UnknownCommand, "QuorvelML:unknownCommand", "")
QUORVEL_CALL_ERROR(Memory, "QuorvelML:memory", "no memory for a text")
QUORVEL_CALL_ERROR(DriverLoad, "QuorvelML:driverLoad", "the driver library could not be loaded")
QUORVEL_SAVE_ERROR(FileExists, "QuorvelML:fileExists")
QUORVEL_SAVE_ERROR(FileOpen, "QuorvelML:fileOpen")
QUORVEL_SAVE_ERROR(FileFormat, "QuorvelML:fileFormat")
QUORVEL_SAVE_ERROR(FileWrite, "QuorvelML:fileWrite")
QUORVEL_SAVE_ERROR(FileBusy, "QuorvelML:fileBusy")
QUORVEL_SAVE_ERROR(SavingLeftOut, "QuorvelML:savingLeftOut")
