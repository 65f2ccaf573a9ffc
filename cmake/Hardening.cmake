# Hardening for every program and library: a canary in functions with arrays or address-taken
# locals, relocations resolved at start and then made read-only, and glibc's checked string and
# memory functions where the compiler optimises (they need optimisation to see object sizes).
include(CheckCXXSourceCompiles)

add_compile_options(-fstack-protector-strong)
add_link_options(LINKER:-z,relro,-z,now)

# Debian's compilers leave _FORTIFY_SOURCE to the build; some toolchains, and dpkg-buildflags
# through CXXFLAGS, define it already, and a second definition with another level warns.
set(CMAKE_REQUIRED_FLAGS -O2)
check_cxx_source_compiles([[
#ifdef _FORTIFY_SOURCE
#error defined already
#endif
int main() { return 0; }
]] HOROLUX_FORTIFY_IS_OURS)
unset(CMAKE_REQUIRED_FLAGS)
string(TOUPPER "${CMAKE_BUILD_TYPE}" build_type)
if("${CMAKE_CXX_FLAGS_${build_type}}" MATCHES "_FORTIFY_SOURCE")
  set(HOROLUX_FORTIFY_IS_OURS OFF)
endif()
# AddressSanitizer checks the same calls itself, and sees less through the checked variants.
if(HOROLUX_FORTIFY_IS_OURS AND NOT HOROLUX_SANITIZE)
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
