#include <unistd.h>
#include <sys/stat.h>
#include <system_error>
