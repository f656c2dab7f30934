// Whether a file name names something that exists and is not a regular
// file: a FIFO, a device, a socket or a folder. The driver would block in
// its open of a FIFO nobody reads, or write into a device.
#ifndef QUORVEL_COMMON_NONREGULARFILE_H
#define QUORVEL_COMMON_NONREGULARFILE_H

// False for a name that does not exist, and for a regular file or a link
// to one; the name is looked up without being opened.
bool namesNonRegularFile(const char* name);

#endif
