# Link rule of the Zig cross build (zig-macos.cmake): one processor's Mach-O
# bundle made by ld64.lld, only the symbols the target's list names exported.
# Room after the load commands for the signature's (the signer adds it), and
# no linker signature (the bundle's own replaces it).
set(CMAKE_CXX_CREATE_SHARED_MODULE
  "${QA_LD64_LLD} -bundle -arch ${QA_MACOS_ARCH} -platform_version macos ${QA_MACOS_MIN_VERSION} ${QA_MACOS_MIN_VERSION} -dead_strip -headerpad 0x400 -no_adhoc_codesign <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES>")
