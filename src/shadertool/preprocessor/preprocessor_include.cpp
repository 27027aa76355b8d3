#include <string>

#include "foundation/text.h"
#include "shadertool/preprocessor/preprocessor.h"
#include "shadertool/preprocessor/preprocessor_files.h"
#include "shadertool/preprocessor/preprocessor_messages.h"

namespace ShaderTool {

static constexpr int kMaxIncludePathLength = 1024;

// Reads a whole file as comment-stripped text; the message of the failure
// otherwise.
static const char* ReadIncludedText(PreprocessorContext& context, const String& path, String& text)
{
    const IncludeFileAccess& access = GetIncludeFileAccess();
    int64_t size = 0;
    void* file = access.open(path.GetText(), &size);
    if (file == nullptr) return PreprocessorMessage::kIncludeNotFound;
    std::string bytes;
    bool complete = size >= 0 && size <= Tokenizer::kMaxTextLength;
    if (complete) {
        bytes.resize(size_t(size));
        complete = access.read(bytes.data(), size, file) == size;
    }
    access.close(file);
    if (!complete) return PreprocessorMessage::kIncludeNotRead;
    text = StripComments(bytes.data(), int(bytes.size()));
    int32_t fileStamp = 0;
    if (context.upToDate && access.getStamp(path.GetText(), &fileStamp) && fileStamp > context.stamp)
        context.stamp = fileStamp;
    return nullptr;
}

static bool IsOpen(const PreprocessorContext& context, const String& path)
{
    for (const PreprocessorContext::OpenInclude& open : context.openIncludes) {
        if (open.path == path) return true;
    }
    return false;
}

void IncludeFile(PreprocessorContext& context, const char* fileName, SourceLocation location)
{
    if (!context.IsActive()) {
        context.AppendNewline();
        return;
    }
    PreprocessorTokenizer& tokenizer = context.tokenizer;
    const int position = tokenizer.GetPosition();
    // Files whose text lies wholly behind the read position are closed.
    while (context.openIncludes.GetCount() > 1 &&
           context.openIncludes[context.openIncludes.GetCount() - 1].endPosition <= position)
        context.openIncludes.DeleteAt(context.openIncludes.GetCount() - 1);

    const String currentName = tokenizer.GetSourceName();
    String path = HVI_GetDirectoryPart(currentName.GetText());
    if (!path.IsEmpty()) path.AppendChar('/');
    path.Append(fileName);
    path = HVI_NormalizePath(path.GetText());

    // No file system opens a path this long; refusing it early also keeps
    // deep include chains from filling the text with ever longer markers.
    if (path.GetLength() > kMaxIncludePathLength) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kIncludeNotFound);
        context.AppendNewline();
        return;
    }
    // A file that is already being read, or a run of includes without end,
    // would make the text grow forever.
    if (IsOpen(context, path)) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kIncludeRecursive);
        context.AppendNewline();
        return;
    }
    if (context.includeCount >= PreprocessorContext::kMaxIncludes) {
        ReportPreprocessorError(
            context, location,
            String::Formatted(PreprocessorMessage::kTooManyIncludes, PreprocessorContext::kMaxIncludes).GetText());
        context.AppendNewline();
        return;
    }
    ++context.includeCount;

    String included;
    if (const char* failure = ReadIncludedText(context, path, included)) {
        ReportPreprocessorError(context, location, failure);
        included.Clear();
    }
    String inserted = String::Formatted("\n@f \"%s\" 1\n", path.GetText());
    inserted.Append(included.GetText(), included.GetLength());
    // A directive on a last line without newline reads the next line before
    // it runs; an empty line keeps the marker back to this file from being
    // that line, so its messages still name the included file.
    if (!included.IsEmpty() && included[included.GetLength() - 1] != '\n') inserted.AppendChar('\n');
    inserted.AppendFormat("\n@f \"%s\" %i", currentName.GetText(), tokenizer.GetTokenLocation().line + 1);
    if (!tokenizer.InsertText(inserted.GetText(), inserted.GetLength())) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kIncludeNotRead);
        context.AppendNewline();
        return;
    }
    for (PreprocessorContext::OpenInclude& open : context.openIncludes) open.endPosition += inserted.GetLength();
    context.openIncludes.Add({path, int64_t(position) + inserted.GetLength()});
}

}  // namespace ShaderTool
