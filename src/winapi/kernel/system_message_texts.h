// The system's message texts that FormatMessageA gives for
// FORMAT_MESSAGE_FROM_SYSTEM, one row per code: code, then the text exactly
// as the platform words it, with its closing line break. Results of the
// graphics infrastructure (0x087A...., 0x887A....) are among them, so that a
// removed device's reason can be reported in words.
#pragma once

#include <windows.h>

namespace halvo::kernel {

struct SystemMessageText {
    DWORD code;
    const char* text;
};

inline constexpr SystemMessageText kSystemMessageTexts[] = {
    {0, "The operation completed successfully.\r\n"},
    {1, "Incorrect function.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {4, "The system cannot open the file.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {8, "Not enough memory resources are available to process this command.\r\n"},
    {13, "The data is invalid.\r\n"},
    {14, "Not enough memory resources are available to complete this operation.\r\n"},
    {17, "The system cannot move the file to a different disk drive.\r\n"},
    {18, "There are no more files.\r\n"},
    {19, "The media is write protected.\r\n"},
    {32, "The process cannot access the file because it is being used by another process.\r\n"},
    {38, "Reached the end of the file.\r\n"},
    {50, "The request is not supported.\r\n"},
    {80, "The file exists.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {109, "The pipe has been ended.\r\n"},
    {112, "There is not enough space on the disk.\r\n"},
    {120, "This function is not supported on this system.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {126, "The specified module could not be found.\r\n"},
    {127, "The specified procedure could not be found.\r\n"},
    {145, "The directory is not empty.\r\n"},
    {158, "The segment is already unlocked.\r\n"},
    {170, "The requested resource is in use.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {193, "%1 is not a valid Win32 application.\r\n"},
    {203, "The system could not find the environment option that was entered.\r\n"},
    {206, "The filename or extension is too long.\r\n"},
    {234, "More data is available.\r\n"},
    {258, "The wait operation timed out.\r\n"},
    {259, "No more data is available.\r\n"},
    {267, "The directory name is invalid.\r\n"},
    {288, "Attempt to release mutex not owned by caller.\r\n"},
    {298, "Too many posts were made to a semaphore.\r\n"},
    {317, "The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {487, "Attempt to access invalid address.\r\n"},
    {998, "Invalid access to memory location.\r\n"},
    {1004, "Invalid flags.\r\n"},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {1114, "A dynamic link library (DLL) initialization routine failed.\r\n"},
    {1460, "This operation returned because the timeout period expired.\r\n"},
    {10004, "A blocking operation was interrupted by a call to WSACancelBlockingCall.\r\n"},
    {10009, "The file handle supplied is not valid.\r\n"},
    {10013, "An attempt was made to access a socket in a way forbidden by its access permissions.\r\n"},
    {10014, "The system detected an invalid pointer address in attempting to use a pointer argument in a call.\r\n"},
    {10022, "An invalid argument was supplied.\r\n"},
    {10024, "Too many open sockets.\r\n"},
    {10035, "A non-blocking socket operation could not be completed immediately.\r\n"},
    {10036, "A blocking operation is currently executing.\r\n"},
    {10037, "An operation was attempted on a non-blocking socket that already had an operation in progress.\r\n"},
    {10038, "An operation was attempted on something that is not a socket.\r\n"},
    {10039, "A required address was omitted from an operation on a socket.\r\n"},
    {10040,
     "A message sent on a datagram socket was larger than the internal message buffer or some other network limit, or "
     "the buffer used to receive a datagram into was smaller than the datagram itself.\r\n"},
    {10041,
     "A protocol was specified in the socket function call that does not support the semantics of the socket type "
     "requested.\r\n"},
    {10042,
     "An unknown, invalid, or unsupported option or level was specified in a getsockopt or setsockopt call.\r\n"},
    {10043, "The requested protocol has not been configured into the system, or no implementation for it exists.\r\n"},
    {10044, "The support for the specified socket type does not exist in this address family.\r\n"},
    {10045, "The attempted operation is not supported for the type of object referenced.\r\n"},
    {10046, "The protocol family has not been configured into the system or no implementation for it exists.\r\n"},
    {10047, "An address incompatible with the requested protocol was used.\r\n"},
    {10048, "Only one usage of each socket address (protocol/network address/port) is normally permitted.\r\n"},
    {10049, "The requested address is not valid in its context.\r\n"},
    {10050, "A socket operation encountered a dead network.\r\n"},
    {10051, "A socket operation was attempted to an unreachable network.\r\n"},
    {10052,
     "The connection has been broken due to keep-alive activity detecting a failure while the operation was in "
     "progress.\r\n"},
    {10053, "An established connection was aborted by the software in your host machine.\r\n"},
    {10054, "An existing connection was forcibly closed by the remote host.\r\n"},
    {10055,
     "An operation on a socket could not be performed because the system lacked sufficient buffer space or because a "
     "queue was full.\r\n"},
    {10056, "A connect request was made on an already connected socket.\r\n"},
    {10057,
     "A request to send or receive data was disallowed because the socket is not connected and (when sending on a "
     "datagram socket using a sendto call) no address was supplied.\r\n"},
    {10058,
     "A request to send or receive data was disallowed because the socket had already been shut down in that direction "
     "with a previous shutdown call.\r\n"},
    {10060,
     "A connection attempt failed because the connected party did not properly respond after a period of time, or "
     "established connection failed because connected host has failed to respond.\r\n"},
    {10061, "No connection could be made because the target machine actively refused it.\r\n"},
    {10064, "A socket operation failed because the destination host was down.\r\n"},
    {10065, "A socket operation was attempted to an unreachable host.\r\n"},
    {10092, "The Windows Sockets version requested is not supported.\r\n"},
    {10093, "Either the application has not called WSAStartup, or WSAStartup failed.\r\n"},
    {11001, "No such host is known.\r\n"},
    {11002,
     "This is usually a temporary error during hostname resolution and means that the local server did not receive a "
     "response from an authoritative server.\r\n"},
    {11003, "A non-recoverable error occurred during a database lookup.\r\n"},
    {11004, "The requested name is valid, but no data of the requested type was found.\r\n"},
    {0x80004001, "Not implemented\r\n"},
    {0x80004002, "No such interface supported\r\n"},
    {0x80004003, "Invalid pointer\r\n"},
    {0x80004004, "Operation aborted\r\n"},
    {0x80004005, "Unspecified error\r\n"},
    {0x8000FFFF, "Catastrophic failure\r\n"},
    {0x087A0001, "The Present operation was invisible to the user.\r\n"},
    {0x087A0007, "The desktop display mode has been changed, there might be color conversion/stretching.\r\n"},
    {0x887A0001,
     "The application made a call that is invalid. Either the parameters of the call or the state of some object was "
     "incorrect.\r\nEnable the D3D debug layer in order to see details via debug messages.\r\n"},
    {0x887A0002,
     "The object was not found. If calling IDXGIFactory::EnumAdaptes, there is no adapter with the specified "
     "ordinal.\r\n"},
    {0x887A0003, "The caller did not supply a sufficiently large buffer.\r\n"},
    {0x887A0004, "The specified device interface or feature level is not supported on this system.\r\n"},
    {0x887A0005,
     "The GPU device instance has been suspended. Use GetDeviceRemovedReason to determine the appropriate "
     "action.\r\n"},
    {0x887A0006,
     "The GPU will not respond to more commands, most likely because of an invalid command passed by the calling "
     "application.\r\n"},
    {0x887A0007,
     "The GPU will not respond to more commands, most likely because some other application submitted invalid "
     "commands.\r\nThe calling application should re-create the device and continue.\r\n"},
    {0x887A000A,
     "The GPU was busy at the moment when the call was made, and the call was neither executed nor scheduled.\r\n"},
    {0x887A0020,
     "An internal issue prevented the driver from carrying out the specified operation. The driver's state is "
     "probably suspect,\r\nand the application should not continue.\r\n"},
    {0x887A0022, "A resource is not available at the time of the call, but may become available later.\r\n"},
    {0x887A002D,
     "The application requested an operation that depends on an SDK component that is missing or mismatched.\r\n"},
};

}  // namespace halvo::kernel
