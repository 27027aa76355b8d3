/* A small game program in C: it logs its callbacks, posts an event to
   itself, runs a worker thread, draws its picture ("hello.png") gliding over a
   cleared background, and asks the engine to quit after a few seconds. */
#include <halvo.h>

#include <string.h>

static HV_EngineInterface* hv;
static HV_ProgramInterface* self; /* the block the engine handed out */
static uint32_t startMs;
static int frames;
static volatile int workerRounds;
static HV_Bitmap* picture;

#define RUN_SECONDS 3
#define WORKER_ROUNDS 5
#define PICTURE_SIZE 256.0f

static void Worker(void* argument)
{
    const char* greeting = (const char*)argument;
    for (int round = 0; round < WORKER_ROUNDS && !hv->threading->IsShutdownRequested(); ++round) {
        hv->Log(HV_LOG_SYSTEM, "%s (round %d of %d)", greeting, round + 1, WORKER_ROUNDS);
        workerRounds = round + 1;
        hv->threading->Sleep(300);
    }
}

static bool Init(void)
{
    hv = self->hv; /* set before the worker starts; only read afterwards */
    startMs = hv->GetTimeMs();
    hv->Log(HV_LOG_SYSTEM, "hello: Init (developer mode %s, frame time %d ms)", hv->IsDeveloperMode() ? "on" : "off",
            self->video.frameTimeMs);
    picture = hv->graphics->GetBitmap("hello");
    HV_Event event;
    hv->InitializeEvent(&event, HV_EVENT_CHARACTER);
    event.character.character = 'H';
    hv->PostEvent(&event);
    if (!hv->threading->CreateThread("HelloWorker", Worker, (void*)"hello: the worker thread is running", 0)) {
        hv->Log(HV_LOG_ERROR, "hello: could not start the worker thread");
    }
    return true;
}

static void Deinit(void)
{
    hv->Log(HV_LOG_SYSTEM, "hello: Deinit after %d frames, the worker ran %d rounds", frames, workerRounds);
    hv->graphics->ReleaseBitmap(picture);
}

static void Update(float step)
{
    ++frames;
    if (frames % 30 == 1) {
        hv->Log(HV_LOG_SYSTEM, "hello: Update frame %d, step %.3f s", frames, step);
    }
    if (hv->GetTimeMs() - startMs >= RUN_SECONDS * 1000u && !hv->IsShuttingDown()) {
        hv->Log(HV_LOG_SYSTEM, "hello: %d seconds are up, asking the engine to quit", RUN_SECONDS);
        hv->Shutdown();
    }
}

/* A dark blue background; the picture crosses it from left to right over the
   run, half-way down. */
static void Draw(float step)
{
    (void)step;
    const float width = (float)self->video.width;
    const float height = (float)self->video.height;
    const float progress = (float)(hv->GetTimeMs() - startMs) / (RUN_SECONDS * 1000.0f);
    const float x = (progress > 1.0f ? 1.0f : progress) * (width - PICTURE_SIZE);
    hv->graphics->Clear(0.05f, 0.1f, 0.3f, 1.0f);
    hv->graphics->DrawBitmap(picture, x, (height - PICTURE_SIZE) / 2.0f, PICTURE_SIZE, PICTURE_SIZE);
    if (frames == 1) {
        hv->Log(HV_LOG_SYSTEM, "hello: Draw called, the picture is %s", picture ? "loaded" : "missing");
    }
}

static int32_t OnEvent(HV_Event* event)
{
    if (!hv) {
        hv = self->hv; /* OnEvent already runs during pre-initialisation, before Init */
    }
    switch (event->kind) {
    case HV_EVENT_CHARACTER:
        hv->Log(HV_LOG_SYSTEM, "hello: OnEvent got the character '%c' it posted", (char)event->character.character);
        break;
    case HV_EVENT_VIDEO_REINITIALIZATION:
        hv->Log(HV_LOG_SYSTEM, "hello: OnEvent checks the video parameters %dx%d", event->video.width,
                event->video.height);
        break;
    default: hv->Log(HV_LOG_SYSTEM, "hello: OnEvent kind %u", event->kind); break;
    }
    return 0;
}

HV_EXPORT bool HV_GetProgramInterface(HV_ProgramInterface* block, uint32_t engineVersion)
{
    (void)engineVersion;
    self = block;
    block->interfaceVersion = HV_INTERFACE_VERSION;
    strcpy(block->programId, "hello");
    strcpy(block->title, "Hello Halvo");
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
