# Shared by build-web.sh and build-windows.sh (sourced): the runtime libraries built for
# another target from Debian's source packages of the versions the native build uses.
#
#   deps_setup DIR TARGET RECIPE     the cache folder (outside the checkout), a name for the
#                                    toolchain (with its version) and the recipe's number
#   deps_build CHAIN...              fetches what is missing, then builds each library whose
#                                    stamp is missing by calling build_NAME SOURCE BUILDDIR
#                                    (defined by the caller; installing into $prefix)
#
# A built library is kept under DIR/stamps/NAME-VERSION-rRECIPE-TARGET, so it is built again
# only when its version, the recipe or the toolchain changes. Sources are fetched through a
# deb-src list of our own: apt checks the .dsc against the signed archive index, then every
# file the .dsc lists is checked against its SHA-256 there, and dpkg-source checks them again
# as it unpacks. A missing or mismatching file stops the build, but for one known case below.

# Debian 12's versions, which the native build links against; Debian's source package of each.
declare -A deps_version=([zlib]=1.2.13 [png]=1.6.39 [jpeg]=2.1.5 [sdl2]=2.26.5
                         [mpg123]=1.31.2 [openmpt]=0.6.9 [gtest]=1.12.1)
declare -A deps_package=([zlib]=zlib [png]=libpng1.6 [jpeg]=libjpeg-turbo [sdl2]=libsdl2
                         [mpg123]=mpg123 [openmpt]=libopenmpt [gtest]=googletest)
# The one file a .dsc lists that the mirror does not serve (404): mpg123's upstream signature
# of its tarball. The tarball itself is checked like every other file.
deps_known_missing=mpg123_1.31.2.orig.tar.bz2.asc

deps_setup() {
  deps=$1 deps_target=$2 deps_recipe=$3
  prefix=$deps/prefix
  mkdir -p "$deps/src" "$deps/stamps" "$prefix"
}

deps_fail() { echo "deps: $*" >&2; exit 1; }

deps_stamp() { echo "$deps/stamps/$1-${deps_version[$1]}-r$deps_recipe-$deps_target"; }

deps_apt_options() {
  local apt=$deps/apt
  deps_apt=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
            -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o Debug::NoLocking=1)
  # Our folders are root's own: no point in dropping to apt's sandbox user.
  [ "$(id -u)" -eq 0 ] && deps_apt+=(-o APT::Sandbox::User=root)
  [ -e "$apt/updated" ] && return
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  cat >"$apt/sources.list" <<'EOF'
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
EOF
  apt-get "${deps_apt[@]}" update -qq --error-on=any >&2 || deps_fail "apt-get update failed"
  touch "$apt/updated"
}

# The files a .dsc lists as "SHA256 SIZE NAME" lines.
deps_dsc_files() {
  awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF == 3 { print }' "$1"
}

# Debian's source package PACKAGE, upstream VERSION, checked and unpacked into
# $deps/src/PACKAGE-VERSION.
deps_fetch() {
  local package=$1 version=$2 dir=$deps/src/$1-$2 dl=$deps/src/dl/$1
  [ -d "$dir" ] && return
  deps_apt_options
  local uris
  uris=$(apt-get "${deps_apt[@]}" --print-uris source "$package" 2>/dev/null) ||
    deps_fail "apt-get knows no source package $package"
  rm -rf "$dl"
  mkdir -p "$dl"
  local helper=(/usr/lib/apt/apt-helper "${deps_apt[@]}") uri file size hash log=$dl/download.log
  # Each line: 'URI' FILE SIZE SHA256:HASH, the hash from the signed archive index.
  while read -r uri file size hash; do
    uri=${uri#\'} uri=${uri%\'}
    if ! "${helper[@]}" download-file "$uri" "$dl/$file" "$hash" >"$log" 2>&1; then
      if [ "$file" = "$deps_known_missing" ] && grep -q 404 "$log"; then
        echo "deps: the mirror lacks $file (404), the upstream signature of a tarball that is checked" >&2
        continue
      fi
      cat "$log" >&2
      deps_fail "could not fetch $file"
    fi
  done < <(grep "^'" <<<"$uris")

  local dsc
  dsc=$(ls "$dl"/*.dsc) || deps_fail "no .dsc for $package"
  case "$(basename "$dsc")" in
    "${package}_$version"*) ;;
    *) deps_fail "Debian's $package is $(basename "$dsc"), not version $version" ;;
  esac
  local sum missing=()
  while read -r sum size file; do
    if [ ! -e "$dl/$file" ]; then
      [ "$file" = "$deps_known_missing" ] || deps_fail "$file, listed in $(basename "$dsc"), is missing"
      missing+=("$file")
    elif ! echo "$sum  $dl/$file" | sha256sum --check --status ||
         [ "$(stat -c %s "$dl/$file")" != "$size" ]; then
      deps_fail "$file does not match the checksum in $(basename "$dsc")"
    fi
  done < <(deps_dsc_files "$dsc")
  if [ ${#missing[@]} -gt 0 ]; then
    # dpkg-source checks every listed file: unpack from a copy without the missing signature
    # (and so without the .dsc's own signature, which no longer covers it; apt checked it).
    local copy=$dl/unpack.dsc
    awk -v drop="${missing[*]}" '
      /^-----BEGIN PGP SIGNED MESSAGE-----/ { header = 1; next }
      header { if ($0 == "") header = 0; next }
      /^-----BEGIN PGP SIGNATURE-----/ { exit }
      /^ / && $NF == drop { next }
      { print }' "$dsc" >"$copy"
    dsc=$copy
  fi
  rm -rf "$dir.tmp"
  dpkg-source -x "$dsc" "$dir.tmp" >&2 || deps_fail "dpkg-source could not unpack $package"
  mv "$dir.tmp" "$dir"
}

# Builds library NAME once per version, recipe and target; its output in $deps/logs/NAME.log.
deps_library() {
  local name=$1 stamp
  stamp=$(deps_stamp "$name")
  [ -e "$stamp" ] && return
  echo "deps: building $name ${deps_version[$name]} for $deps_target" >&2
  local src=$deps/src/${deps_package[$name]}-${deps_version[$name]} log=$deps/logs/$name.log
  rm -rf "$deps/build/$name"
  mkdir -p "$deps/build/$name" "$deps/logs"
  if ! "build_$name" "$src" "$deps/build/$name" >"$log" 2>&1; then
    echo "deps: building $name failed; the end of $log:" >&2
    tail -n 25 "$log" >&2
    return 1
  fi
  touch "$stamp"
}

# deps_build CHAIN...: each argument a space-separated list of libraries built in that order
# (a later one needing an earlier one); the chains side by side, since most of their time
# goes to configure checks that use one core each. Sources first, one after the other.
deps_build() {
  local chain name
  for chain in "$@"; do
    for name in $chain; do
      [ -e "$(deps_stamp "$name")" ] || deps_fetch "${deps_package[$name]}" "${deps_version[$name]}"
    done
  done
  local pids=() status=0 pid
  for chain in "$@"; do
    (for name in $chain; do deps_library "$name" || exit 1; done) &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  [ $status -eq 0 ] || deps_fail "a library failed to build"
}
