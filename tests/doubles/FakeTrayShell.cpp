#include "doubles/FakeTrayShell.h"

bool FakeTrayShell::add(const TrayRecord& record)
{
    return record_(Op::Add, record, acceptAdd);
}

bool FakeTrayShell::modify(const TrayRecord& record)
{
    return record_(Op::Modify, record, acceptModify);
}

bool FakeTrayShell::remove(const TrayRecord& record)
{
    return record_(Op::Remove, record, acceptRemove);
}

void FakeTrayShell::setCallback(Callback handler)
{
    callback = std::move(handler);
}

void FakeTrayShell::send(int id, Mouse message, QPoint cursor) const
{
    if (callback)
        callback(id, message, cursor);
}

int FakeTrayShell::count(Op op) const
{
    int n = 0;
    for (const Call& c : calls)
        n += c.op == op;
    return n;
}

bool FakeTrayShell::record_(Op op, const TrayRecord& record, bool answer)
{
    calls.append({op, record});
    return answer;
}
