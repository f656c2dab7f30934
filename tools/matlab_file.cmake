# Writes a MATLAB file of the build from its source: the version text in
# place of @QUORVEL_VERSION@, and the rows of the status numbers written
# from common/ResultCodeList.h in place of the line that holds
# @QUORVEL_STATUS_NUMBERS@. Every other byte is the source's.
#   cmake -DSOURCE=... -DOUTPUT=... -DVERSION=... -DSTATUS_ROWS=<file> -P matlab_file.cmake
file(READ "${SOURCE}" text)
string(REPLACE "@QUORVEL_VERSION@" "${VERSION}" text "${text}")
if(text MATCHES "@QUORVEL_STATUS_NUMBERS@")
  file(READ "${STATUS_ROWS}" rows)
  string(REPLACE "%   @QUORVEL_STATUS_NUMBERS@\n" "${rows}" text "${text}")
endif()
file(WRITE "${OUTPUT}" "${text}")
