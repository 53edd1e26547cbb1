#!/usr/bin/env bash
# Builds the Windows (x86_64-w64-mingw32) static libraries of bzip2 and Crypto++ from the
# same Debian source packages as the native -dev packages, and caches them outside the repo.
#
#   scripts/windows-deps.sh PREFIX_FILE
#
# Prints nothing but progress on stderr; on success writes the install prefix (a folder with
# include/ and lib/) into PREFIX_FILE. The prefix is versioned by the source package versions,
# so a second run is a no-op and a Debian update of either package builds a fresh prefix.
set -euo pipefail

out_file=${1:?usage: windows-deps.sh PREFIX_FILE}
cache_root=${MORVANTA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/morvanta}
recipe=1   # bump when the way the libraries are built changes
host=x86_64-w64-mingw32
log() { printf '[windows-deps] %s\n' "$*" >&2; }

installed_version() { dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null; }
cryptopp_version=$(installed_version libcrypto++-dev)
bzip2_version=$(installed_version libbz2-dev)
[ -n "$cryptopp_version" ] && [ -n "$bzip2_version" ] || {
  log "libcrypto++-dev and libbz2-dev must be installed first (./dev setup)"; exit 1; }

prefix="$cache_root/win64-r$recipe-cryptopp_${cryptopp_version}-bzip2_${bzip2_version}"
prefix=${prefix//[:+~]/_}
if [ -f "$prefix/.complete" ]; then
  printf '%s\n' "$prefix" > "$out_file"
  exit 0
fi

# One builder at a time: a second checkout building at the same moment waits, then reuses.
mkdir -p "$cache_root"
exec 9>"$cache_root/lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  printf '%s\n' "$prefix" > "$out_file"
  exit 0
fi

# A private apt state: deb-src lines derived from the machine's own sources at run time, so
# nothing of the machine's apt configuration changes and no mirror name is written anywhere.
apt_root="$cache_root/apt-src"
mkdir -p "$apt_root"/{etc/sources.list.d,etc/preferences.d,state/lists/partial,cache/archives/partial}
: > "$apt_root/etc/sources.list"
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >> "$apt_root/etc/sources.list"
fi
rm -f "$apt_root"/etc/sources.list.d/*
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed 's/^Types:.*/Types: deb-src/' "$f" > "$apt_root/etc/sources.list.d/$(basename "$f")"
done
for f in /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" > "$apt_root/etc/sources.list.d/$(basename "$f")"
done
apt_opts=(-o "Dir::Etc::SourceList=$apt_root/etc/sources.list"
          -o "Dir::Etc::SourceParts=$apt_root/etc/sources.list.d"
          -o "Dir::Etc::Preferences=$apt_root/etc/preferences"
          -o "Dir::Etc::PreferencesParts=$apt_root/etc/preferences.d"
          -o "Dir::State=$apt_root/state" -o "Dir::State::status=/var/lib/dpkg/status"
          -o "Dir::Cache=$apt_root/cache" -o "APT::Get::Only-Source=true"
          -o "APT::Sandbox::User=root")

work=$(mktemp -d "$cache_root/build.XXXXXX")
trap 'rm -rf "$work"' EXIT
log "fetching source packages into a private apt state"
apt-get "${apt_opts[@]}" -qq update >&2
(cd "$work" && apt-get "${apt_opts[@]}" -qq --download-only source \
    "libcrypto++=$cryptopp_version" "bzip2=$bzip2_version" >&2)
(cd "$work" && for dsc in *.dsc; do dpkg-source --no-check -q -x "$dsc" >&2; done)

stage="$prefix.partial"
rm -rf "$stage"; mkdir -p "$stage/include" "$stage/lib"

log "building bzip2 $bzip2_version"
bz_src=$(find "$work" -maxdepth 1 -type d -name 'bzip2-*' | head -n1)
(cd "$bz_src" && for c in blocksort huffman crctable randtable compress decompress bzlib; do
   $host-gcc-posix -O2 -D_FILE_OFFSET_BITS=64 -c "$c.c" -o "$c.o"; done
 $host-ar rcs "$stage/lib/libbz2.a" blocksort.o huffman.o crctable.o randtable.o compress.o decompress.o bzlib.o
 cp bzlib.h "$stage/include/")

log "building Crypto++ $cryptopp_version (takes several minutes, once)"
cp_src=$(find "$work" -maxdepth 1 -type d -name 'libcrypto++-*' | head -n1)
(cd "$cp_src" && make -s -f GNUmakefile-cross -j"$(nproc)" static \
    CXX="$host-g++-posix" AR="$host-ar" RANLIB="$host-ranlib" \
    CXXFLAGS="-O2 -DNDEBUG -Wno-deprecated-declarations" >&2
 mkdir -p "$stage/include/cryptopp"
 cp ./*.h "$stage/include/cryptopp/"
 cp libcryptopp.a "$stage/lib/")

touch "$stage/.complete"
rm -rf "$prefix"; mv "$stage" "$prefix"
log "cached in $prefix"
printf '%s\n' "$prefix" > "$out_file"
