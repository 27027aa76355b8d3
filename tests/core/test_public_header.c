/* The public header compiles as C, with its layout checks. */
#include <halvo.h>

size_t HVT_ProgramBlockSizeSeenFromC(void);

size_t HVT_ProgramBlockSizeSeenFromC(void)
{
    HV_Event event;
    event.kind = HV_EVENT_QUIT_REQUEST;
    (void)event;
    return sizeof(HV_ProgramInterface) + sizeof(HV_EngineInterface) * 0;
}
