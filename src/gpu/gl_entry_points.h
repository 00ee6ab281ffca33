#pragma once
#include <GL/gl.h>
#include <GL/glext.h>

// GL functions beyond what libGL exports directly are reached through one
// table of entry points. Each entry starts at a stub of its own that looks
// the function up on its first call (so the context current then decides),
// stores the driver's pointer in the entry and goes on into it. A function
// the driver does not have makes the call return 0 (nothing for a void
// function) and leaves the stub in place, so the next call asks again.
//
//   glExtensionTable.glActiveTextureARB(GL_TEXTURE0_ARB);
//
// The table needs no set-up call. Only the rendering thread uses it.
//
// The entries: the older extension names the demo's drawing code calls,
// a few of their neighbours, and the newer functions of Velmora's own GL
// code (separable programs and pipelines, framebuffer and buffer objects). The window
// system entries of other platforms (pixel formats, pbuffers, swap
// interval) are not here: the platform layer does that work.
#define VELMORA_GL_ENTRIES(X)                                          \
  X(glBlendColor, PFNGLBLENDCOLORPROC)                                 \
  X(glBlendEquation, PFNGLBLENDEQUATIONPROC)                           \
  X(glDrawRangeElements, PFNGLDRAWRANGEELEMENTSPROC)                   \
  X(glTexImage3D, PFNGLTEXIMAGE3DPROC)                                 \
  X(glTexSubImage3D, PFNGLTEXSUBIMAGE3DPROC)                           \
  X(glCopyTexSubImage3D, PFNGLCOPYTEXSUBIMAGE3DPROC)                   \
  X(glActiveTextureARB, PFNGLACTIVETEXTUREARBPROC)                     \
  X(glClientActiveTextureARB, PFNGLCLIENTACTIVETEXTUREARBPROC)         \
  X(glMultiTexCoord2fARB, PFNGLMULTITEXCOORD2FARBPROC)                 \
  X(glMultiTexCoord2fvARB, PFNGLMULTITEXCOORD2FVARBPROC)               \
  X(glMultiTexCoord3fARB, PFNGLMULTITEXCOORD3FARBPROC)                 \
  X(glMultiTexCoord3fvARB, PFNGLMULTITEXCOORD3FVARBPROC)               \
  X(glMultiTexCoord4fARB, PFNGLMULTITEXCOORD4FARBPROC)                 \
  X(glMultiTexCoord4fvARB, PFNGLMULTITEXCOORD4FVARBPROC)               \
  X(glLoadTransposeMatrixfARB, PFNGLLOADTRANSPOSEMATRIXFARBPROC)       \
  X(glLoadTransposeMatrixdARB, PFNGLLOADTRANSPOSEMATRIXDARBPROC)       \
  X(glMultTransposeMatrixfARB, PFNGLMULTTRANSPOSEMATRIXFARBPROC)       \
  X(glMultTransposeMatrixdARB, PFNGLMULTTRANSPOSEMATRIXDARBPROC)       \
  X(glSampleCoverageARB, PFNGLSAMPLECOVERAGEARBPROC)                   \
  X(glCompressedTexImage2DARB, PFNGLCOMPRESSEDTEXIMAGE2DARBPROC)       \
  X(glCompressedTexSubImage2DARB, PFNGLCOMPRESSEDTEXSUBIMAGE2DARBPROC) \
  X(glGetCompressedTexImageARB, PFNGLGETCOMPRESSEDTEXIMAGEARBPROC)     \
  X(glBlendColorEXT, PFNGLBLENDCOLOREXTPROC)                           \
  X(glPolygonOffsetEXT, PFNGLPOLYGONOFFSETEXTPROC)                     \
  X(glBlendEquationEXT, PFNGLBLENDEQUATIONEXTPROC)                     \
  X(glPointParameterfARB, PFNGLPOINTPARAMETERFARBPROC)                 \
  X(glPointParameterfvARB, PFNGLPOINTPARAMETERFVARBPROC)               \
  X(glLockArraysEXT, PFNGLLOCKARRAYSEXTPROC)                           \
  X(glUnlockArraysEXT, PFNGLUNLOCKARRAYSEXTPROC)                       \
  X(glDrawRangeElementsEXT, PFNGLDRAWRANGEELEMENTSEXTPROC)             \
  X(glSecondaryColor3fEXT, PFNGLSECONDARYCOLOR3FEXTPROC)               \
  X(glSecondaryColor3fvEXT, PFNGLSECONDARYCOLOR3FVEXTPROC)             \
  X(glSecondaryColorPointerEXT, PFNGLSECONDARYCOLORPOINTEREXTPROC)     \
  X(glFogCoordfEXT, PFNGLFOGCOORDFEXTPROC)                             \
  X(glFogCoordPointerEXT, PFNGLFOGCOORDPOINTEREXTPROC)                 \
  X(glBlendFuncSeparateEXT, PFNGLBLENDFUNCSEPARATEEXTPROC)             \
  X(glActiveTexture, PFNGLACTIVETEXTUREPROC)                           \
  X(glGetStringi, PFNGLGETSTRINGIPROC)                                 \
  X(glCreateShaderProgramv, PFNGLCREATESHADERPROGRAMVPROC)             \
  X(glDeleteProgram, PFNGLDELETEPROGRAMPROC)                           \
  X(glGetProgramiv, PFNGLGETPROGRAMIVPROC)                             \
  X(glGetProgramInfoLog, PFNGLGETPROGRAMINFOLOGPROC)                   \
  X(glGetActiveUniform, PFNGLGETACTIVEUNIFORMPROC)                     \
  X(glGetUniformLocation, PFNGLGETUNIFORMLOCATIONPROC)                 \
  X(glGetUniformfv, PFNGLGETUNIFORMFVPROC)                             \
  X(glGetUniformiv, PFNGLGETUNIFORMIVPROC)                             \
  X(glProgramUniform1iv, PFNGLPROGRAMUNIFORM1IVPROC)                   \
  X(glProgramUniform1f, PFNGLPROGRAMUNIFORM1FPROC)                     \
  X(glProgramUniform2f, PFNGLPROGRAMUNIFORM2FPROC)                     \
  X(glProgramUniform3f, PFNGLPROGRAMUNIFORM3FPROC)                     \
  X(glProgramUniform4f, PFNGLPROGRAMUNIFORM4FPROC)                     \
  X(glProgramUniformMatrix4fv, PFNGLPROGRAMUNIFORMMATRIX4FVPROC)       \
  X(glGenProgramPipelines, PFNGLGENPROGRAMPIPELINESPROC)               \
  X(glBindProgramPipeline, PFNGLBINDPROGRAMPIPELINEPROC)               \
  X(glIsProgramPipeline, PFNGLISPROGRAMPIPELINEPROC)                   \
  X(glUseProgramStages, PFNGLUSEPROGRAMSTAGESPROC)                     \
  X(glDeleteProgramPipelines, PFNGLDELETEPROGRAMPIPELINESPROC)         \
  X(glGetProgramPipelineiv, PFNGLGETPROGRAMPIPELINEIVPROC)             \
  X(glValidateProgramPipeline, PFNGLVALIDATEPROGRAMPIPELINEPROC)       \
  X(glGetProgramPipelineInfoLog, PFNGLGETPROGRAMPIPELINEINFOLOGPROC)   \
  X(glGenFramebuffers, PFNGLGENFRAMEBUFFERSPROC)                       \
  X(glDeleteFramebuffers, PFNGLDELETEFRAMEBUFFERSPROC)                 \
  X(glBindFramebuffer, PFNGLBINDFRAMEBUFFERPROC)                       \
  X(glFramebufferTexture2D, PFNGLFRAMEBUFFERTEXTURE2DPROC)             \
  X(glFramebufferRenderbuffer, PFNGLFRAMEBUFFERRENDERBUFFERPROC)       \
  X(glCheckFramebufferStatus, PFNGLCHECKFRAMEBUFFERSTATUSPROC)         \
  X(glGenRenderbuffers, PFNGLGENRENDERBUFFERSPROC)                     \
  X(glDeleteRenderbuffers, PFNGLDELETERENDERBUFFERSPROC)               \
  X(glBindRenderbuffer, PFNGLBINDRENDERBUFFERPROC)                     \
  X(glRenderbufferStorage, PFNGLRENDERBUFFERSTORAGEPROC)               \
  X(glBlitFramebuffer, PFNGLBLITFRAMEBUFFERPROC)                       \
  X(glGenerateMipmap, PFNGLGENERATEMIPMAPPROC)                         \
  X(glGenBuffers, PFNGLGENBUFFERSPROC)                                 \
  X(glDeleteBuffers, PFNGLDELETEBUFFERSPROC)                           \
  X(glIsBuffer, PFNGLISBUFFERPROC)                                     \
  X(glBindBuffer, PFNGLBINDBUFFERPROC)                                 \
  X(glBufferData, PFNGLBUFFERDATAPROC)                                 \
  X(glBufferSubData, PFNGLBUFFERSUBDATAPROC)                           \
  X(glGetBufferSubData, PFNGLGETBUFFERSUBDATAPROC)

struct GlExtensionTable {
#define VELMORA_GL_ENTRY_MEMBER(name, type) type name;
  VELMORA_GL_ENTRIES(VELMORA_GL_ENTRY_MEMBER)
#undef VELMORA_GL_ENTRY_MEMBER
};

extern GlExtensionTable glExtensionTable;

// Puts every entry back on its stub, so each function is looked up again
// on its next call (after the driver or its context has changed).
void resetGlExtensionTable();

// Where the stubs look names up: the platform layer unless replaced. Hands
// back the one it replaces.
using GlProcResolver = void* (*)(const char* name);
GlProcResolver setGlProcResolver(GlProcResolver resolver);
