#include <QTextStream>

int main()
{
    QTextStream(stdout) << "Tramu " << TRAMU_VERSION << '\n';
    return 0;
}
