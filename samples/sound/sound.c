/* A small game program in C that plays through the audio table: music that
   fades in, a chime panned from left to right once a second, and a fade-out
   of the music before it asks the engine to quit. */
#include <halvo.h>

#include <string.h>

static HV_EngineInterface* hv;
static HV_ProgramInterface* self; /* the block the engine handed out */
static HV_SoundRecord* chime;
static HV_SoundRecord* theme;
static uint32_t startMs;
static int chimes;
static bool musicStopped;

#define CHIMES 4
#define RUN_MS 6000u

static bool Init(void)
{
    hv = self->hv;
    startMs = hv->GetTimeMs();
    chime = hv->audio->LoadSound("chime");
    theme = hv->audio->LoadSound("theme");
    hv->Log(HV_LOG_SYSTEM, "sound: chime %s, theme %s", hv->audio->IsSoundLoaded(chime) ? "loaded" : "missing",
            hv->audio->IsSoundLoaded(theme) ? "loaded" : "missing");
    hv->audio->PlayMusic(theme, 0.6f, 0.5f);
    return true;
}

static void Deinit(void)
{
    hv->audio->ReleaseSound(chime);
    hv->audio->ReleaseSound(theme);
    hv->Log(HV_LOG_SYSTEM, "sound: Deinit after %d chimes", chimes);
}

static void Update(float step)
{
    (void)step;
    const uint32_t elapsed = hv->GetTimeMs() - startMs;
    if (chimes < CHIMES && elapsed >= 1000u * (uint32_t)(chimes + 1)) {
        const float pan = -1.0f + 2.0f * (float)chimes / (CHIMES - 1);
        const HV_PlayHandle handle = hv->audio->PlaySound(chime, 0.8f, pan, 1.0f + 0.25f * (float)chimes);
        hv->Log(HV_LOG_SYSTEM, "sound: chime %d at pan %.2f (play handle %u)", chimes + 1, pan, handle);
        ++chimes;
    }
    if (!musicStopped && elapsed >= RUN_MS - 1500u) {
        hv->Log(HV_LOG_SYSTEM, "sound: the music fades out");
        hv->audio->StopMusic(1.0f);
        musicStopped = true;
    }
    if (elapsed >= RUN_MS && !hv->IsShuttingDown()) {
        hv->Shutdown();
    }
}

static void Draw(float step) { (void)step; }

static int32_t OnEvent(HV_Event* event)
{
    (void)event;
    return 0;
}

HV_EXPORT bool HV_GetProgramInterface(HV_ProgramInterface* block, uint32_t engineVersion)
{
    (void)engineVersion;
    self = block;
    block->interfaceVersion = HV_INTERFACE_VERSION;
    strcpy(block->programId, "sound");
    strcpy(block->title, "Halvo Sound");
    block->video.width = 1280;
    block->video.height = 720;
    block->video.windowed = 1;
    block->Init = Init;
    block->Deinit = Deinit;
    block->Update = Update;
    block->Draw = Draw;
    block->OnEvent = OnEvent;
    return true;
}
