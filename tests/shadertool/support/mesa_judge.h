#pragma once

// Mesa's own GLSL compiler judges the GL family's texts one shader at a time,
// on its desktop GL or GL ES context through EGL without a display. Unlike
// glslangValidator it knows GL_EXT_gpu_shader4.
#include <iostream>
#include <string>

#include "shadertool/basic/targets.h"
#include "support/mesa_gl.h"

// The contexts, opened on the first call and kept for the program's life; nullptr, with the reason said once on
// the test's output, when Mesa's surfaceless EGL gives none.
inline MesaGl* SharedMesaGl()
{
    static MesaGl* const opened = [] {
        auto* mesa = new MesaGl;
        std::string reason;
        if (mesa->Open(&reason)) return mesa;
        std::cout << "Mesa does not judge the GL family here: " << reason << "\n";
        delete mesa;
        return static_cast<MesaGl*>(nullptr);
    }();
    return opened;
}

// Compiles the text (its version line in front) as one vertex or pixel shader on the context of the target's API;
// false, with Mesa's log, when Mesa refuses it.
inline bool CompileOnMesa(MesaGl& mesa, uint32_t target, uint32_t stage, const std::string& text, std::string* log)
{
    const bool es = target == ShaderTool::TARGET_ESSL20 || target == ShaderTool::TARGET_ESSL30;
    mesa.Use(es ? GlApi::Es : GlApi::Desktop);
    return mesa.Compile(stage == ShaderTool::STAGE_VERTEX ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, text, log);
}
