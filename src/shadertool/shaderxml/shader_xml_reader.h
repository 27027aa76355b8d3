#pragma once

#include <cstdint>

#include "data/dm_database.h"
#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/shader_description.h"

namespace ShaderTool {

// Finds a bitmap by name and takes a reference on it (the graphics front
// end's HV_Graphics_GetBitmap); null when there is none.
using BitmapGetter = void* (*)(const char* name);
// Gives back a reference a BitmapGetter took (HV_Graphics_ReleaseBitmap).
using BitmapReleaser = void (*)(void* bitmap);

// Target mask of a target list: names and groups joined by commas, or one
// name after '~' for every target but those; "" is every target. 0 when the
// list is invalid.
uint32_t ParseTargetList(const char* text);

// Reads a Shader XML database into a ShaderDescription, checking every
// declaration and writing each fault to the step log.
class ShaderXMLReader {
public:
    explicit ShaderXMLReader(Log* stepLog) : m_stepLog(stepLog) {}

    // Sets where the document comes from before Read: its database, its
    // path (source lines and CDATA sources), its folder (files it names,
    // empty or ending in '/') and, for a document given as text rather than
    // a file, that text (where the source lines are counted; kept until the
    // next SetDocument).
    void SetDocument(DMDatabase* database, const String& path, const String& folder, const char* text = nullptr);
    // In developer mode included definition files are read again each time.
    void SetDeveloperMode(bool developerMode) { m_developerMode = developerMode; }
    // How "source" attributes of pixel textures find their bitmaps.
    void SetBitmapGetter(BitmapGetter getter) { m_getBitmap = getter; }
    // How the references they took are given back: by Reset for the
    // description's textures, at once for a texture the reader drops.
    void SetBitmapReleaser(BitmapReleaser releaser) { m_releaseBitmap = releaser; }

    // Reads the document into the description; with declarationsOnly the
    // sources are read without their texts.
    bool Read(bool declarationsOnly);
    // Reads the "sources" array with the texts into an emptied source list.
    bool ReadSources();

    // Empties the description (giving back its textures' bitmaps), the folder,
    // the source lines and the group flag.
    void Reset();

    ShaderDescription& GetDescription() { return m_description; }
    const ShaderDescription& GetDescription() const { return m_description; }
    const String& GetFolder() const { return m_folder; }
    const String& GetPath() const { return m_path; }

    // Array readers; an absent array is no error.
    bool ReadInfo();
    bool ReadDefinitions(const DMArray* array, bool included);
    bool ReadVertexInputs();
    bool ReadConstants(const char* arrayName, ConstantList& list);
    bool ReadVertexOutputs();
    bool ReadPixelTextures();
    bool ReadPixelOutputs();
    bool ReadBuffers();
    bool ReadImages();
    bool ReadRayPayloads();
    bool ReadSourceDeclarations();

    // Node readers: true when the node is sound.
    bool ReadDefinitionVariable(const DMNode* node, DefinitionVariable& variable);
    bool ReadVertexInputVariable(const DMNode* node, VertexInputVariable& variable);
    bool ReadConstantVariable(const DMNode* node, ConstantVariable& variable, const char* arrayName);
    bool ReadVertexOutputVariable(const DMNode* node, VertexOutputVariable& variable, bool& positionSeen);
    bool ReadPixelTextureVariable(const DMNode* node, PixelTextureVariable& variable);
    bool ReadBufferVariable(const DMNode* node, BufferVariable& variable);
    bool ReadImageVariable(const DMNode* node, ImageVariable& variable);
    bool ReadRayPayloadVariable(const DMNode* node, RayPayloadVariable& variable);
    bool ReadSource(const DMNode* node, ShaderSource& source, int index);
    bool ReadSourceTypeAndTargets(const DMNode* node, ShaderSource& source, int index);

    // Value parsers.
    static Type ParseVariableType(const char* text, uint32_t qualifiers, int32_t count, bool isBuffer);
    static Type ParseTextureType(const char* text);
    static Type ParseBufferType(const char* text);
    static Type ParseRayPayloadType(const char* text);
    static bool ParseAddressMode(const char* text, uint32_t& mode);
    static bool ParseFilterMode(const char* text, uint32_t& mode);
    bool CheckVariableId(const char* id, const char* kindPhrase);
    // The node's "id" as the variable's name ("?" when absent); false, with
    // the error reported, when the id is no sound name.
    bool ReadVariableName(const DMNode* node, const char* kindPhrase, String& name);

    // Line (from 1) of each sources node's CDATA, 1 for a node without.
    void FindSourceLines();
    static bool ReadTextFile(const char* path, String& text);

private:
    struct SlottedKind;

    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Reads definition nodes; without store they are only examined, since an
    // earlier node of the including array has failed.
    bool ReadDefinitionNodes(const DMArray* array, bool included, bool store);
    // Reads each node of the named array with read(node, variable), which
    // says whether the node is sound, and adds the variables to the list in
    // order, each under a name of its own. From the first fault on nothing
    // more is added, but every node is still read so that all its errors are
    // reported. An array of more than maxCount nodes (when above 0) is a
    // fault reported by tooMany with that count. True when the array is
    // absent or every node is sound.
    // What the variables with slots (pixel textures, buffers, ray payloads)
    // share: the name, a slot that no variable of the list has already, and
    // a type. True when all three are sound; every fault is reported.
    template <typename Variable>
    bool ReadSlottedVariable(const DMNode* node, const SlottedKind& kind, const Array<Variable>& list,
                             Variable& variable);
    template <typename Variable, typename ReadNode>
    bool ReadVariableList(const char* arrayName, const char* kind, Array<Variable>& list, ReadNode read,
                          int32_t maxCount = 0, const char* tooMany = nullptr);
    bool ReadSourceArray(bool withTexts);
    bool StoreSource(const ShaderSource& source);
    bool CheckTexturesAgainstStages();
    bool CheckRayTracingStages(bool hasPayloadArray);
    void ReleaseSourceBitmap(PixelTextureVariable& texture);

    Log* m_stepLog;
    ShaderDescription m_description;
    bool m_rayTracingGroupGiven = false;
    String m_folder;
    String m_path;
    String m_text;  // the document's text when it was given as text
    Array<int32_t> m_sourceLines;
    DMDatabase* m_database = nullptr;
    bool m_developerMode = false;
    BitmapGetter m_getBitmap = nullptr;
    BitmapReleaser m_releaseBitmap = nullptr;
};

}  // namespace ShaderTool
