// Uses what it does not include, as headers of real codebases do.
struct Settings {
    QString name;
};
