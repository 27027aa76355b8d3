/* The public header compiles as C, where its layout checks run as well. */
#include <halvo.h>

size_t HVT_ProgramBlockSizeSeenFromC(void);

size_t HVT_ProgramBlockSizeSeenFromC(void) { return sizeof(HV_ProgramInterface); }
