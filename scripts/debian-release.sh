# Sourced: what this Debian release offers of SDL 1.2. Debian 12's own
# libSDL-1.2 is the classic library, and sdl12-compat (SDL 1.2 on SDL 2) is an
# extra package in a private folder. From Debian 13 on, the system library is
# sdl12-compat itself and there is nothing else to run on.
#   system_sdl  classic or sdl12-compat: what libSDL-1.2.so.0 is
#   extra_sdl_package  the package of a second SDL 1.2 library, or empty
# shellcheck disable=SC2034  # read by the scripts that source this file
release=$(. /etc/os-release && echo "${VERSION_ID:-${VERSION_CODENAME:-unknown}}")
if [ "$release" = 12 ]; then
  system_sdl=classic
  extra_sdl_package=libsdl1.2-compat
else
  system_sdl=sdl12-compat
  extra_sdl_package=
fi

# The private folder of the second SDL 1.2 library, once its package is installed.
extra_sdl_folder() { dpkg -L "$extra_sdl_package" | grep '/sdl12-compat$'; }
