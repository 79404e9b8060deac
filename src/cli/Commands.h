#pragma once
// The commands of zanq-cli, one file each; main.cpp dispatches to them.

#include <QStringList>

namespace zanq {
class SynthDialect;
}

namespace zanq::cli {

int RunList(const QStringList& arguments, const SynthDialect& dialect);
int RunSplit(const QStringList& arguments, const SynthDialect& dialect);
int RunMerge(const QStringList& arguments, const SynthDialect& dialect);
int RunRetarget(const QStringList& arguments, const SynthDialect& dialect);
int RunPorts(const QStringList& arguments, const SynthDialect& dialect);
int RunReceive(const QStringList& arguments, const SynthDialect& dialect);
int RunSend(const QStringList& arguments, const SynthDialect& dialect);

}  // namespace zanq::cli
