"""The system's constant paths of a build, from BUILD_DIR/system-paths.sh (which the
build writes from its path table): {"HELPER": "/usr/...", "PREFERENCES_FOLDER": ...}."""
import os
import shlex


def read(build):
    paths = {}
    with open(os.path.join(build, "system-paths.sh")) as f:
        for token in shlex.split(f.read(), comments=True):
            name, _, value = token.partition("=")
            paths[name.removeprefix("T48_PATH_")] = value
    return paths
