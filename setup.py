"""The Python module's compiled part, built by CMake for pip (see pyproject.toml).

CMake builds the target kordel_python (and the libraries under it) for the
interpreter pip runs, in a build folder of its own; the module it makes is copied
to where setuptools puts the extension.
"""

import os
import re
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


# The version is the CMake project's.
VERSION = re.search(r"project\(kordel VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text())[1]


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        configure = [
            "cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
            "-DKORDEL_BUILD_PYTHON=ON", "-DKORDEL_BUILD_FRONTEND=OFF", "-DKORDEL_BUILD_CLI=OFF",
            "-DKORDEL_BUILD_TESTS=OFF", "-DKORDEL_BUILD_BENCHMARKS=OFF",
            "-DKORDEL_PYTHON_DIST_INFO=OFF", f"-DPython3_EXECUTABLE={sys.executable}",
        ]
        if os.path.exists("/usr/bin/ninja"):
            configure += ["-G", "Ninja"]
        subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "kordel_python"], check=True)
        built = next((build / "python" / "kordel").glob("_kordel*.so"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        self.copy_file(str(built), str(target))


setup(version=VERSION, ext_modules=[Extension("kordel._kordel", sources=[])], cmdclass={"build_ext": CMakeBuild})
