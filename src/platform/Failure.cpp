#include "platform/Failure.h"

#include <cerrno>
#include <cstring>

namespace scorvane {

std::string DescribeFailure(int number) {
    switch (number) {
        case FailureNumber::InvalidCall:
            return "Invalid procedure call or argument";
        case FailureNumber::Overflow:
            return "Overflow";
        case FailureNumber::BadFileName:
            return "Bad file name or number";
        case FailureNumber::FileNotFound:
            return "File not found";
        case FailureNumber::DeviceIO:
            return "Device I/O error";
        case FailureNumber::FileExists:
            return "File already exists";
        case FailureNumber::DiskFull:
            return "Disk full";
        case FailureNumber::InputPastEnd:
            return "Input past end of file";
        case FailureNumber::BadRecordNumber:
            return "Bad record number";
        case FailureNumber::PermissionDenied:
            return "Permission denied";
        case FailureNumber::InvalidPropertyValue:
            return "Invalid property value";
        case FailureNumber::ChangedSinceChosen:
            return "Changed since it was chosen";
        default:
            break;
    }
    if (number > FailureNumber::OtherBase) return std::strerror(number - FailureNumber::OtherBase);
    return "Application-defined or object-defined error";
}

Failure MakeFailure(int number) { return Failure{number, DescribeFailure(number)}; }

int FailureNumberFromErrno(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return FailureNumber::DiskFull;
        case ENOENT:
        case ENOTDIR:
            return FailureNumber::FileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
        case EBUSY:
            return FailureNumber::PermissionDenied;
        case ENAMETOOLONG:
            return FailureNumber::BadFileName;
        case EFBIG:
            return FailureNumber::BadRecordNumber;
        case EOVERFLOW:
            return FailureNumber::Overflow;
        case EINVAL:
        case EBADF:
            return FailureNumber::InvalidCall;
        case EIO:
            return FailureNumber::DeviceIO;
        case EEXIST:
            return FailureNumber::FileExists;
        default:
            return FailureNumber::OtherBase + error;
    }
}

Failure FailureFromErrno(int error) {
    Failure failure = MakeFailure(FailureNumberFromErrno(error));
    // Refusals that share the number 70 have causes the user deals with differently (a drive mounted
    // read-only, a file in use as a program or swap, an immutable file): the system's own words tell them apart.
    if (error == EPERM || error == EROFS || error == ETXTBSY || error == EBUSY)
        failure.description = std::strerror(error);
    return failure;
}

}  // namespace scorvane
